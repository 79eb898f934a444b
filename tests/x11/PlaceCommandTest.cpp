// The place subcommand as a user runs it: the executable against the real server and manager.
#include <sys/wait.h>

#include "tests/support/Printers.h"
#include "tests/x11/support/X11TestSupport.h"

namespace tilewise::testing {
namespace {

struct CommandResult {
    int status = -1;
    std::string output;
};

class PlaceCommandTest : public X11Test {
  protected:
    CommandResult place(const std::vector<std::string>& arguments) {
        // Failures are told on the error stream; the test reads both.
        std::vector<std::string> command{"sh", "-c", "exec \"$0\" place \"$@\" 2>&1",
                                         TILEWISE_EXECUTABLE};
        command.insert(command.end(), arguments.begin(), arguments.end());
        ChildProcess process(command, ChildProcess::Ending::terminate);
        CommandResult result;
        while (const auto line = process.readLine(kServerTimeout)) result.output += *line + "\n";
        const int status = process.terminate();
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return result;
    }

    Rect screen() {
        return Rect(0, 0, DisplayWidth(display(), DefaultScreen(display())),
                    DisplayHeight(display(), DefaultScreen(display())));
    }
};

TEST_F(PlaceCommandTest, PlacesTheFrontmostWindowExactlyOnTheCells) {
    auto window = openTestWindow();
    focus(window.id);
    const auto result = place({"--grid", "2x1", "--cells", "1,0:1,0"});
    const Rect right(screen().midX(), 0, screen().width() / 2, screen().height());
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(frameByTree(window.id), right);
}

TEST_F(PlaceCommandTest, PlacesAMaximizedWindowExactly) {
    auto window = openTestWindow({"--state", "maximized"});
    focus(window.id);
    const auto result = place({"--grid", "2x2", "--cells", "0,1:0,1"});
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(frameByTree(window.id),
              Rect(0, screen().midY(), screen().width() / 2, screen().height() / 2));
}

TEST_F(PlaceCommandTest, ATerminalThatKeepsToItsCellsIsReportedWithItsRealFrame) {
    auto terminal = openXterm({"-geometry", "80x24+0+0"});
    focus(terminal.id);
    const auto result = place({"--grid", "1x2", "--cells", "0,0:0,0"});
    EXPECT_NE(result.status, 0);
    EXPECT_THAT(result.output, ::testing::HasSubstr("limited the window's size"));
    const Rect actual = frameByTree(terminal.id);
    EXPECT_THAT(result.output, ::testing::HasSubstr(std::to_string(static_cast<int>(actual.height()))));
}

TEST_F(PlaceCommandTest, NothingFocusedIsNoActiveApp) {
    const auto result = place({"--grid", "2x1", "--cells", "0,0:0,0"});
    EXPECT_NE(result.status, 0);
    EXPECT_THAT(result.output, ::testing::HasSubstr("No active app to arrange."));
}

}  // namespace
}  // namespace tilewise::testing

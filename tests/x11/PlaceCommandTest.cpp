// The place subcommand as a user runs it: the executable against the real server and manager.
#include "tests/support/Printers.h"
#include "tests/x11/support/X11TestSupport.h"

namespace tilewise::testing {
namespace {

class PlaceCommandTest : public X11Test {
  protected:
    CommandResult place(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "place");
        return runTilewise(arguments);
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
    EXPECT_THAT(result.output,
                ::testing::HasSubstr(std::to_string(static_cast<int>(actual.height()))));
}

TEST_F(PlaceCommandTest, NothingFocusedIsNoActiveApp) {
    const auto result = place({"--grid", "2x1", "--cells", "0,0:0,0"});
    EXPECT_NE(result.status, 0);
    EXPECT_THAT(result.output, ::testing::HasSubstr("No active app to arrange."));
}

}  // namespace
}  // namespace tilewise::testing

#include "cli/PlaceCommand.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/PlacementSentences.h"
#include "app/TextFormat.h"
#include "core/SettingsCoder.h"
#include "tests/cli/CommandLineRun.h"
#include "tests/cli/SimDesktopSession.h"
#include "tests/support/Files.h"
#include "tests/support/Printers.h"

namespace tilewise {
namespace {

using ::testing::HasSubstr;
constexpr ProcessId kPid = 4242;
// The primary display's usable area already starts one point below its menu bar.
const Rect kPrimaryVisible{0, 25, 1440, 875};
// The second display shows a menu bar too; its usable area starts at the same distance below.
const Rect kSecondVisible{1440, 25, 1920, 1055};

class PlaceCommandTest : public ::testing::Test {
  protected:
    PlaceCommandTest() {
        const ProcessId pid =
            sim().workspaceService.launch({.pid = kPid, .localizedName = "Notes"});
        sim().workspaceService.activate(pid);
        window = sim().desktop.addWindow(pid, {.frame = {200, 150, 800, 600}});
        sim().screensService.moveMouse({100, 100});
    }

    sim::SimPlatform& sim() { return session.sim(); }

    CommandRun run(std::vector<std::string> arguments) {
        arguments.insert(arguments.end(), {"-TilewiseSettingsPath", settingsFile.string()});
        return runTilewise(arguments, launcher);
    }

    void writeSettings(const TilewiseSettings& settings) {
        ASSERT_TRUE(writeFileBytes(settingsFile, SettingsCoder::encode(settings).value()));
    }

    Rect windowFrame() const { return desktop.window(window)->frame; }

    TemporaryDirectory directory;
    std::filesystem::path settingsFile = directory.path() / "settings.json";
    std::string expectedBackend = "x11";
    const DesktopLauncher launcher = [this](std::string_view backend)
        -> std::expected<std::unique_ptr<DesktopSession>, std::string> {
        EXPECT_EQ(backend, expectedBackend);
        return session.borrow();
    };
    SimDesktopSession session{
        sim::parseDisplays(
            "1440x900+0+0 visible 0,25,1440,875 menubar 24 scale 2; 1920x1080+1440+0 menubar 24")
            .value()};
    sim::SimDesktop& desktop = session.sim().desktop;
    sim::WindowId window = 0;
};

TEST_F(PlaceCommandTest, PlacesTheFrontmostWindowExactlyOnTheDisplayUnderThePointer) {
    const auto result = run({"place", "--grid", "2x1", "--cells", "0,0:0,0"});
    const Rect expected{kPrimaryVisible.minX(), kPrimaryVisible.minY(), kPrimaryVisible.width() / 2,
                        kPrimaryVisible.height()};
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(result.out, HasSubstr("requested " + formatRect(expected)));
    EXPECT_THAT(result.out, HasSubstr("actual    " + formatRect(expected)));
    EXPECT_EQ(windowFrame(), expected);
}

TEST_F(PlaceCommandTest, WindowOptionPlacesOnTheDisplayHoldingTheWindow) {
    desktop.modifyWindow(window, [](sim::SimWindow& w) { w.frame = {2000, 300, 800, 600}; });
    const auto result =
        run({"place", "--grid", "1x5", "--cells", "0,1:0,1", "--display", "window"});
    EXPECT_EQ(result.status, 0) << result.err;
    const double rowHeight = kSecondVisible.height() / 5;  // whole points: no snapping
    const Rect expected{kSecondVisible.minX(), kSecondVisible.minY() + rowHeight,
                        kSecondVisible.width(), rowHeight};
    EXPECT_EQ(windowFrame(), expected);
}

TEST_F(PlaceCommandTest, UsesTheSettingsMarginsAndPanelPlacement) {
    TilewiseSettings settings = TilewiseSettings::defaults();
    settings.margins = Margins{true, EdgeInsets{10, 20, 30, 40}, 5, 5};
    settings.panelPlacement = PanelPlacement::displayWithTargetWindow;
    writeSettings(settings);
    desktop.modifyWindow(window, [](sim::SimWindow& w) { w.frame = {2000, 300, 800, 600}; });

    const auto result = run({"place", "--grid", "1x1", "--cells", "0,0:0,0"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(windowFrame(), (Rect{kSecondVisible.minX() + 20, kSecondVisible.minY() + 10,
                                   kSecondVisible.width() - 60, kSecondVisible.height() - 40}));
}

TEST_F(PlaceCommandTest, LimitedSizeAndRefusedMovesAreReportedWithTheirSentences) {
    desktop.modifyWindow(window, [](sim::SimWindow& w) { w.maximumSize = Size{500, 400}; });
    auto result = run({"place", "--grid", "1x1", "--cells", "0,0:0,0"});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.out, HasSubstr("actual    0,25 500x400"));
    EXPECT_THAT(result.out, HasSubstr(PlacementSentences::sizeLimited("Notes")));
    // Already as large as it allows: nothing was limited this time.
    result = run({"place", "--grid", "1x1", "--cells", "0,0:0,0"});
    EXPECT_THAT(result.out, HasSubstr(PlacementSentences::sizeNotAllowed("Notes")));

    desktop.modifyWindow(window, [](sim::SimWindow& w) {
        w.maximumSize.reset();
        w.positionWritesIgnored = sim::SimWindow::kIgnoresAllPositionWrites;
    });
    result = run({"place", "--grid", "2x1", "--cells", "1,0:1,0"});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.out, HasSubstr(PlacementSentences::notMoved("Notes")));

    // Nothing moved or resized at all: no application limited anything, the manager refused.
    const Rect before = windowFrame();
    desktop.modifyWindow(window, [&](sim::SimWindow& w) {
        w.minimumSize = before.size;
        w.maximumSize = before.size;
    });
    result = run({"place", "--grid", "2x1", "--cells", "1,0:1,0"});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.out, HasSubstr(PlacementSentences::kManagerDidNotMove));
    EXPECT_THAT(result.out, Not(HasSubstr("limited")));
    EXPECT_EQ(windowFrame(), before);
}

TEST_F(PlaceCommandTest, FailuresPrintTheirSentenceAndMoveNothing) {
    TilewiseSettings settings = TilewiseSettings::defaults();
    settings.margins = Margins{true, EdgeInsets{450, 0, 450, 0}, 0, 0};
    writeSettings(settings);
    auto result = run({"place", "--grid", "1x1", "--cells", "0,0:0,0"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, std::string{PlacementSentences::kDoesNotFit} + "\n");
    EXPECT_EQ(windowFrame(), (Rect{200, 150, 800, 600}));

    sim().workspaceService.activate(std::nullopt);
    result = run({"place", "--grid", "1x1", "--cells", "0,0:0,0"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "No active app to arrange.\n");
}

TEST_F(PlaceCommandTest, ABrokenSettingsFileStopsTheCommandAndStaysAsItWas) {
    const std::string broken = "{\"schemaVersion\": 2}";
    ASSERT_TRUE(writeFileBytes(settingsFile, broken));
    const auto result = run({"place", "--grid", "1x1", "--cells", "0,0:0,0"});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, HasSubstr("cannot be used"));
    EXPECT_EQ(readFileBytes(settingsFile), broken);
    EXPECT_FALSE(std::filesystem::exists(directory.path() / "settings.invalid.json"));
    EXPECT_EQ(windowFrame(), (Rect{200, 150, 800, 600}));
}

TEST_F(PlaceCommandTest, ASettingsPathThatCannotBeFollowedIsReportedNotTakenForMissing) {
    namespace fs = std::filesystem;
    fs::create_symlink(settingsFile, settingsFile);
    const auto loop = run({"place", "--grid", "1x1", "--cells", "0,0:0,0"});
    EXPECT_EQ(loop.status, 1);
    EXPECT_THAT(loop.err, HasSubstr("Too many levels of symbolic links"));
    fs::remove(settingsFile);
    ASSERT_TRUE(writeFileBytes(settingsFile, ""));
    settingsFile /= "settings.json";
    const auto belowAFile = run({"place", "--grid", "1x1", "--cells", "0,0:0,0"});
    EXPECT_EQ(belowAFile.status, 1);
    EXPECT_THAT(belowAFile.err, HasSubstr("Not a directory"));
    EXPECT_EQ(windowFrame(), (Rect{200, 150, 800, 600}));
}

TEST_F(PlaceCommandTest, MalformedArgumentsAreUsageErrors) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"place", "--grid", "6by4", "--cells", "0,0:1,1"},
          {"place", "--grid", "6x4"},
          {"place", "--grid", "6x4", "--cells", "0,0-1,1"},
          {"place", "--grid", "6x4", "--cells", "0,0:1,1", "--display", "left"},
          {"place", "--grid", "6x4", "--cells", "0,0:1,1", "--frobnicate"},
          {"apply"}}) {
        EXPECT_EQ(run(arguments).status, 2) << arguments[1];
    }
}

TEST_F(PlaceCommandTest, ApplyFindsASavedLayoutByIdOrName) {
    TilewiseSettings settings = TilewiseSettings::defaults();
    SavedLayout right{
        Uuid::random(),           "Right half", true, false, std::nullopt, GridSize{2, 1},
        CellSelection{1, 0, 1, 0}};
    SavedLayout top = right;
    top.id = Uuid::random();
    top.name = "Top";
    top.grid = GridSize{1, 2};
    top.selection = CellSelection{0, 0, 0, 0};
    settings.layouts = {right, top};
    writeSettings(settings);

    EXPECT_EQ(run({"apply", "Right half"}).status, 0);
    EXPECT_EQ(windowFrame().minX(), kPrimaryVisible.midX());
    EXPECT_EQ(run({"apply", top.id.string()}).status, 0);
    EXPECT_EQ(windowFrame().height(), kPrimaryVisible.height() / 2);

    const auto missing = run({"apply", "Left half"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_THAT(missing.err, HasSubstr("no saved layout “Left half”"));
}

TEST_F(PlaceCommandTest, DisplaysListsEveryDisplayAsTheApplicationSeesIt) {
    expectedBackend = "sim";
    const auto result = runTilewise({"--platform=sim", "displays"}, launcher);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "display 1  frame 0,0 1440x900  visible 0,25 1440x875  scale 2\n"
              "display 2  frame 1440,0 1920x1080  visible 1440,25 1920x1055  scale 1\n");
}

}  // namespace
}  // namespace tilewise

#include <gtest/gtest.h>

#include <X11/Xutil.h>
#include <QCoreApplication>

#include <cmath>
#include <fstream>
#include <thread>

#include "app/GridPanelController.h"
#include "core/SettingsCoder.h"
#include "platform/x11/Properties.h"
#include "tests/support/Files.h"
#include "tests/x11/support/X11TestSupport.h"

namespace tilewise::testing {
namespace {

// The panel shortcut, a local layout's key and the left half as that layout (US keyboard).
const KeyCombo kPanelShortcut{5, Modifiers{Modifiers::control, Modifiers::option}};  // G
const KeyCombo kLeftHalfKey{37, Modifiers{Modifiers::control, Modifiers::option}};   // L
const GridSize kGrid{6, 6};
// Where the miniature sits in the panel: the content insets, the 18-point header, spacing.
constexpr int kGridLeft = 20;
constexpr int kGridTop = 14 + 18 + 10;
constexpr unsigned long kLineGrey = 0xA6A6A6;  // white level 0.65

int xdotool(const std::vector<std::string>& arguments) {
    std::vector<std::string> command{"xdotool"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return runProgram(command);
}

// The real executable, resident, against the window manager of the suite.
class GridPanelAppTest : public X11Test {
  protected:
    void SetUp() override {
        settings_.panelShortcutEnabled = true;
        settings_.panelShortcut = kPanelShortcut;
        settings_.animationsEnabled = false;
        // The panel then appears once the target is known, so a drag right after it appears
        // has a window to place.
        settings_.panelPlacement = PanelPlacement::displayWithTargetWindow;
        settings_.layouts = {{.id = Uuid::random(),
                              .name = "Left half",
                              .enabled = true,
                              .isGlobal = false,
                              .shortcut = kLeftHalfKey,
                              .grid = {2, 1},
                              .selection = {0, 0, 0, 0}}};
        screen_ = Rect{0, 0, 1.0 * DisplayWidth(display(), 0), 1.0 * DisplayHeight(display(), 0)};
    }
    std::filesystem::path settingsFile() const { return directory_.path() / "settings.json"; }

    void startTilewise() {
        std::ofstream{settingsFile()} << *SettingsCoder::encode(settings_);
        app_.emplace(std::vector<std::string>{TILEWISE_EXECUTABLE, "-TilewiseSettingsPath",
                                              settingsFile().string()},
                     ChildProcess::Ending::terminate);
    }
    // Presses the panel shortcut until the panel and the overlay map (the first presses may
    // come before the application has registered it) and returns the panel's window.
    Window openPanel() {
        for (int attempt = 0; attempt < 20; ++attempt) {
            EXPECT_EQ(xdotool({"key", "ctrl+alt+g"}), 0);
            if (const Window panel = panelAndGridMapped(std::chrono::milliseconds{500}))
                return panel;
        }
        ADD_FAILURE() << "the panel shortcut never showed the panel and the grid";
        return None;
    }
    // The panel's window once it has mapped with the overlay (which, once mapped, may stay so
    // between shows); None if they do not in time.
    Window panelAndGridMapped(std::chrono::milliseconds timeout) {
        Window panel = None;
        const auto overlayMapped = [&] {
            return overlay_ != None && attributes(overlay_).map_state == IsViewable;
        };
        waitForEvent(
            [&](const XEvent& event) {
                if (event.type == MapNotify) {
                    const std::string name = windowName(event.xmap.window);
                    if (name == "Tilewise Grid")
                        panel = event.xmap.window;
                    else if (name == "Tilewise Grid Overlay")
                        overlay_ = event.xmap.window;
                }
                return panel != None && overlayMapped();
            },
            timeout);
        return overlayMapped() ? panel : None;
    }
    std::string windowName(Window window) {
        char* name = nullptr;
        XFetchName(display(), window, &name);
        std::string result = name != nullptr ? name : "";
        if (name != nullptr)
            XFree(name);
        return result;
    }
    bool waitUntilUnmapped(Window window) {
        for (int attempt = 0; attempt < 50; ++attempt) {
            if (attributes(window).map_state == IsUnmapped)
                return true;
            waitForEvent([&](const XEvent& event) { return event.type == UnmapNotify; },
                         std::chrono::milliseconds{100});
        }
        return false;
    }
    XWindowAttributes attributes(Window window) {
        XWindowAttributes result{};
        XGetWindowAttributes(display(), window, &result);
        return result;
    }
    // The centre of a miniature cell, in root coordinates.
    std::pair<int, int> cellCentre(Window panel, GridCell cell) {
        const auto where = attributes(panel);
        const double height = GridPanelController::gridHeight(screen_);
        return {where.x + kGridLeft + static_cast<int>((cell.column + 0.5) * 300 / kGrid.columns),
                where.y + kGridTop + static_cast<int>((cell.row + 0.5) * height / kGrid.rows)};
    }
    // Each step is its own xdotool run, as a hand would take its time between them.
    void drag(std::pair<int, int> from, std::pair<int, int> to) {
        const auto move = [](std::pair<int, int> point) {
            return std::vector<std::string>{"mousemove", "--sync", std::to_string(point.first),
                                            std::to_string(point.second)};
        };
        ASSERT_EQ(xdotool(move(from)), 0);
        ASSERT_EQ(xdotool({"mousedown", "1"}), 0);
        ASSERT_EQ(xdotool(move({(from.first + to.first) / 2, (from.second + to.second) / 2})), 0);
        ASSERT_EQ(xdotool(move(to)), 0);
        ASSERT_EQ(xdotool({"mouseup", "1"}), 0);
    }
    ::testing::AssertionResult frameBecomes(Window window, const Rect& frame) {
        for (int attempt = 0; attempt < 50; ++attempt) {
            if (frameByTree(window) == frame)
                return ::testing::AssertionSuccess();
            waitForEvent([](const XEvent& event) { return event.type == ConfigureNotify; },
                         std::chrono::milliseconds{100});
        }
        const Rect actual = frameByTree(window);
        return ::testing::AssertionFailure()
               << "the window is at " << actual.minX() << "," << actual.minY() << " "
               << actual.width() << "x" << actual.height() << ", not " << frame.minX() << ","
               << frame.minY() << " " << frame.width() << "x" << frame.height();
    }
    std::optional<Window> activeWindow() {
        return x11::Properties::window(display(), root(), atoms().netActiveWindow);
    }
    // The screen is not ours to be told about: it is looked at until it shows the colour.
    bool pixelBecomes(int x, int y, unsigned long colour) {
        for (int attempt = 0; attempt < 50; ++attempt) {
            if (rootPixel(display(), x, y) == colour)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds{100});
        }
        return false;
    }

    const Margins& margins() const { return settings_.margins; }

    TilewiseSettings settings_ = TilewiseSettings::defaults();
    TemporaryDirectory directory_;
    std::optional<ChildProcess> app_;
    Window overlay_ = None;
    Rect screen_;
};

TEST_F(GridPanelAppTest, ShortcutDragEscapeAndLocalLayoutKeepTheTargetActive) {
    TestWindow target = openTestWindow();
    focus(target.id);
    startTilewise();

    Window panel = openPanel();
    ASSERT_NE(panel, None);
    EXPECT_TRUE(attributes(panel).override_redirect);
    EXPECT_EQ(activeWindow(), target.id);
    drag(cellCentre(panel, {3, 2}), cellCentre(panel, {5, 5}));
    const auto dragged = LayoutEngine::frame({3, 2, 5, 5}, kGrid, screen_, margins(), 1);
    EXPECT_TRUE(frameBecomes(target.id, *dragged)) << "the window did not land on the cells";
    EXPECT_TRUE(waitUntilUnmapped(panel));
    EXPECT_EQ(activeWindow(), target.id);

    panel = openPanel();
    ASSERT_EQ(xdotool({"key", "Escape"}), 0);
    EXPECT_TRUE(waitUntilUnmapped(panel));
    EXPECT_EQ(activeWindow(), target.id);

    panel = openPanel();
    ASSERT_EQ(xdotool({"key", "ctrl+alt+l"}), 0);
    const auto left = LayoutEngine::frame({0, 0, 0, 0}, {2, 1}, screen_, margins(), 1);
    EXPECT_TRUE(frameBecomes(target.id, *left)) << "the local layout was not applied";
    EXPECT_TRUE(waitUntilUnmapped(panel));
    EXPECT_EQ(activeWindow(), target.id);
}

// With and without a compositing manager: the grid must leave what lies under it in view.
class GridOnTheDisplayAppTest : public GridPanelAppTest,
                                public ::testing::WithParamInterface<bool> {
  protected:
    void SetUp() override {
        GridPanelAppTest::SetUp();
        // Not black, or a grid that blacks the display out would go unseen.
        setDesktopColour(display(), 0x3366AA);
        if (!GetParam())
            return;
        compositor_.emplace(std::vector<std::string>{"xcompmgr"}, ChildProcess::Ending::terminate);
        const Atom selection = XInternAtom(display(), "_NET_WM_CM_S0", False);
        for (int attempt = 0; attempt < 50 && XGetSelectionOwner(display(), selection) == None;
             ++attempt)
            std::this_thread::sleep_for(std::chrono::milliseconds{100});
        ASSERT_NE(XGetSelectionOwner(display(), selection), None) << "xcompmgr did not start";
    }
    std::optional<ChildProcess> compositor_;
};

TEST_P(GridOnTheDisplayAppTest, LinesOverWhatWasShownAndADragPlacesTheTarget) {
    TestWindow target = openTestWindow();
    focus(target.id);
    startTilewise();
    const auto centre = [&](GridCell cell) {
        const auto frame = LayoutEngine::frame({cell, cell}, kGrid, screen_, margins(), 1);
        return std::pair<int, int>{static_cast<int>(frame->midX()),
                                   static_cast<int>(frame->midY())};
    };
    // The top row lies clear of the panel, which is centred on the display.
    const auto lines = LayoutEngine::gridLines(kGrid, screen_, margins(), 1);
    const int middleOfTopRow = static_cast<int>(lines->y.front() / 2);
    std::vector<unsigned long> before;
    for (std::int64_t column = 0; column < kGrid.columns; ++column) {
        const auto [x, y] = centre({column, 0});
        before.push_back(rootPixel(display(), x, y));
    }

    const Window panel = openPanel();
    ASSERT_NE(panel, None);
    for (const double x : lines->x) {
        EXPECT_TRUE(pixelBecomes(static_cast<int>(x), middleOfTopRow, kLineGrey))
            << "no grid line at x = " << x;
    }
    for (std::int64_t column = 0; column < kGrid.columns; ++column) {
        const auto [x, y] = centre({column, 0});
        EXPECT_EQ(rootPixel(display(), x, y), before[static_cast<std::size_t>(column)])
            << "the grid hides what lies under cell " << column << ",0";
    }
    drag(centre({0, 0}), centre({1, 4}));
    const auto expected = LayoutEngine::frame({0, 0, 1, 4}, kGrid, screen_, margins(), 1);
    EXPECT_TRUE(frameBecomes(target.id, *expected)) << "the drag on the display placed nothing";
    EXPECT_EQ(activeWindow(), target.id);
}

// Xlib defines Bool as a macro, so the two values are listed.
INSTANTIATE_TEST_SUITE_P(Compositor, GridOnTheDisplayAppTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "xcompmgr" : "none"; });

// On two side-by-side heads of a nested Xephyr, whose RandR knows only the first: the second
// run of x11.grid-panel.
class GridPanelTwoHeadsTest : public GridPanelAppTest {
  protected:
    Rect head(int index) const {
        const double width = DisplayWidth(display(), DefaultScreen(display())) / 2.0;
        return Rect(index * width, 0, width, DisplayHeight(display(), DefaultScreen(display())));
    }
    ::testing::AssertionResult centredOn(Window panel, const Rect& area) {
        const auto where = attributes(panel);
        const auto x = std::lround(area.midX() - where.width / 2.0);
        const auto y = std::lround(area.midY() - where.height / 2.0);
        if (where.x == x && where.y == y)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "the panel is at " << where.x << "," << where.y << ", not " << x << "," << y;
    }
};

TEST_F(GridPanelTwoHeadsTest, PanelOpensUnderThePointerAndShowGridDrawsTheGridThere) {
    settings_.panelPlacement = PanelPlacement::displayUnderMouse;
    TestWindow target = openTestWindow();
    focus(target.id);
    startTilewise();
    const Rect right = head(1);
    const auto lines = LayoutEngine::gridLines(settings_.grid, right, margins(), 1);
    ASSERT_TRUE(lines);
    // In the bottom-right cell, away from the lines and the panel.
    ASSERT_EQ(xdotool({"mousemove", "--sync", std::to_string(static_cast<int>(right.maxX()) - 20),
                       std::to_string(static_cast<int>(right.maxY()) - 20)}),
              0);

    Window panel = openPanel();
    ASSERT_NE(panel, None);
    EXPECT_TRUE(centredOn(panel, right));
    ASSERT_EQ(xdotool({"key", "Escape"}), 0);
    ASSERT_TRUE(waitUntilUnmapped(panel));

    const CommandResult shown = runTilewise({"show-grid"});
    EXPECT_EQ(shown.status, 0) << shown.output;
    panel = panelAndGridMapped(kServerTimeout);
    ASSERT_NE(panel, None) << "show-grid showed no panel and grid";
    EXPECT_TRUE(centredOn(panel, right));
    EXPECT_EQ(activeWindow(), target.id);
    // Halfway down the top row, clear of the stars at the crossings and of the panel.
    const int middleOfTopRow = static_cast<int>((right.minY() + lines->y.front()) / 2);
    for (const double x : lines->x) {
        EXPECT_TRUE(pixelBecomes(static_cast<int>(x), middleOfTopRow, kLineGrey))
            << "no grid line at x = " << x << " on the head under the pointer";
    }
    ASSERT_EQ(xdotool({"key", "Escape"}), 0);
    EXPECT_TRUE(waitUntilUnmapped(panel));
}

}  // namespace
}  // namespace tilewise::testing

#include <gtest/gtest.h>

#include <X11/Xutil.h>
#include <QCoreApplication>

#include <fstream>

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

int xdotool(const std::vector<std::string>& arguments) {
    std::vector<std::string> command{"xdotool"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return runProgram(command);
}

// The real executable, resident, against the window manager of the suite.
class GridPanelAppTest : public X11Test {
  protected:
    void SetUp() override {
        TilewiseSettings settings = TilewiseSettings::defaults();
        settings.panelShortcutEnabled = true;
        settings.panelShortcut = kPanelShortcut;
        settings.animationsEnabled = false;
        settings.layouts = {{.id = Uuid::random(),
                             .name = "Left half",
                             .enabled = true,
                             .isGlobal = false,
                             .shortcut = kLeftHalfKey,
                             .grid = {2, 1},
                             .selection = {0, 0, 0, 0}}};
        std::ofstream{settingsFile()} << *SettingsCoder::encode(settings);
        screen_ = Rect{0, 0, 1.0 * DisplayWidth(display(), 0), 1.0 * DisplayHeight(display(), 0)};
        margins_ = settings.margins;
    }
    std::filesystem::path settingsFile() const { return directory_.path() / "settings.json"; }

    void startTilewise() {
        app_.emplace(std::vector<std::string>{TILEWISE_EXECUTABLE, "-TilewiseSettingsPath",
                                              settingsFile().string()},
                     ChildProcess::Ending::terminate);
    }
    // Presses the panel shortcut until the panel maps (the first presses may come before the
    // application has registered it) and returns the panel's window.
    Window openPanel() {
        for (int attempt = 0; attempt < 20; ++attempt) {
            EXPECT_EQ(xdotool({"key", "ctrl+alt+g"}), 0);
            Window mapped = None;
            const bool shown = waitForEvent(
                [&](const XEvent& event) {
                    if (event.type != MapNotify || !isPanel(event.xmap.window))
                        return false;
                    mapped = event.xmap.window;
                    return true;
                },
                std::chrono::milliseconds{500});
            if (shown)
                return mapped;
        }
        ADD_FAILURE() << "the panel shortcut never showed the panel";
        return None;
    }
    bool isPanel(Window window) {
        char* name = nullptr;
        XFetchName(display(), window, &name);
        const bool panel = name != nullptr && std::string_view{name} == "Tilewise Grid";
        if (name != nullptr)
            XFree(name);
        return panel;
    }
    bool waitUntilUnmapped(Window window) {
        return waitForEvent([&](const XEvent& event) {
            return event.type == UnmapNotify && event.xunmap.window == window;
        });
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
    void drag(std::pair<int, int> from, std::pair<int, int> to) {
        ASSERT_EQ(xdotool({"mousemove", "--sync", std::to_string(from.first),
                           std::to_string(from.second), "mousedown", "1", "mousemove", "--sync",
                           std::to_string(to.first), std::to_string(to.second), "mouseup", "1"}),
                  0);
    }
    bool frameBecomes(Window window, const Rect& frame) {
        for (int attempt = 0; attempt < 50; ++attempt) {
            if (frameByTree(window) == frame)
                return true;
            waitForEvent([](const XEvent& event) { return event.type == ConfigureNotify; },
                         std::chrono::milliseconds{100});
        }
        return false;
    }
    std::optional<Window> activeWindow() {
        return x11::Properties::window(display(), root(), atoms().netActiveWindow);
    }

    TemporaryDirectory directory_;
    std::optional<ChildProcess> app_;
    Rect screen_;
    Margins margins_;
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
    const auto dragged = LayoutEngine::frame({3, 2, 5, 5}, kGrid, screen_, margins_, 1);
    EXPECT_TRUE(frameBecomes(target.id, *dragged)) << "the window did not land on the cells";
    EXPECT_TRUE(waitUntilUnmapped(panel));
    EXPECT_EQ(activeWindow(), target.id);

    panel = openPanel();
    ASSERT_EQ(xdotool({"key", "Escape"}), 0);
    EXPECT_TRUE(waitUntilUnmapped(panel));
    EXPECT_EQ(activeWindow(), target.id);

    panel = openPanel();
    ASSERT_EQ(xdotool({"key", "ctrl+alt+l"}), 0);
    const auto left = LayoutEngine::frame({0, 0, 0, 0}, {2, 1}, screen_, margins_, 1);
    EXPECT_TRUE(frameBecomes(target.id, *left)) << "the local layout was not applied";
    EXPECT_TRUE(waitUntilUnmapped(panel));
    EXPECT_EQ(activeWindow(), target.id);
}

TEST_F(GridPanelAppTest, DragOnTheDisplayPlacesTheTarget) {
    TestWindow target = openTestWindow();
    focus(target.id);
    startTilewise();
    const Window panel = openPanel();
    ASSERT_NE(panel, None);
    const auto centre = [&](GridCell cell) {
        const auto frame = LayoutEngine::frame({cell, cell}, kGrid, screen_, margins_, 1);
        return std::pair<int, int>{static_cast<int>(frame->midX()),
                                   static_cast<int>(frame->midY())};
    };
    drag(centre({0, 0}), centre({1, 4}));
    const auto expected = LayoutEngine::frame({0, 0, 1, 4}, kGrid, screen_, margins_, 1);
    EXPECT_TRUE(frameBecomes(target.id, *expected)) << "the drag on the display placed nothing";
    EXPECT_EQ(activeWindow(), target.id);
}

}  // namespace
}  // namespace tilewise::testing

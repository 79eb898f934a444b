#include <gtest/gtest.h>

#include <X11/Xutil.h>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTest>
#include <QWindow>

#include "app/GridPanelController.h"
#include "platform/QtScheduler.h"
#include "platform/x11/Properties.h"
#include "platform/x11/X11Platform.h"
#include "tests/x11/support/X11TestSupport.h"
#include "ui/GridPanel.h"
#include "ui/GridView.h"
#include "ui/PreviewOverlay.h"

namespace tilewise::testing {
namespace {

constexpr unsigned long kDesktopColour = 0x3366AA;
constexpr int kLineGrey = 166;  // white level 0.65
constexpr int kWaitMs = 5000;

int xdotool(const std::vector<std::string>& arguments) {
    std::vector<std::string> command{"xdotool"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return runProgram(command);
}

std::string number(int value) {
    return std::to_string(value);
}

// The panel and the overlay on the real server, with a test client window in front that
// must stay the active window throughout.
class GridPanelX11Test : public X11Test {
  protected:
    GridPanelX11Test() {
        setDesktopColour(display(), kDesktopColour);
        width_ = DisplayWidth(display(), DefaultScreen(display()));
        height_ = DisplayHeight(display(), DefaultScreen(display()));
    }

    DisplayInfo wholeScreen() const {
        const Rect frame{0, 0, 1.0 * width_, 1.0 * height_};
        return DisplayInfo{1, frame, frame, 1};
    }
    void showPanel(GridSize grid) {
        const CoordinateSpace space{1.0 * height_};
        const Rect frame = space.appKitFromTopLeft(wholeScreen().frame);
        controller.show(Screen{frame, frame, 1, {}}, grid, space);
    }
    // Lets Qt send what it has queued and the server carry it out.
    // What Qt has queued reaches the server: Qt sends it only once its loop waits for events,
    // which a test's loop may never do.
    void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
            XSync(x11->display(), False);
        XSync(display(), False);
    }
    // Presses at the centre of `from`, drags to `to` and releases, as a user's mouse would.
    void drag(QWidget& widget, QPoint from, QPoint to) {
        settle();
        const QPoint start = widget.mapToGlobal(from);
        const QPoint end = widget.mapToGlobal(to);
        ASSERT_EQ(
            xdotool({"mousemove", "--sync", number(start.x()), number(start.y()), "mousedown", "1",
                     "mousemove", "--sync", number(end.x()), number(end.y()), "mouseup", "1"}),
            0);
    }
    std::optional<Window> activeWindow() {
        return x11::Properties::window(display(), root(), atoms().netActiveWindow);
    }
    Window inputFocus() {
        Window focus = None;
        int revert = 0;
        XGetInputFocus(display(), &focus, &revert);
        return focus;
    }
    unsigned long pixel(int x, int y) { return rootPixel(display(), x, y); }
    QPoint rootPoint(Window window, int x, int y) {
        int rootX = 0;
        int rootY = 0;
        Window child = None;
        XTranslateCoordinates(display(), window, root(), x, y, &rootX, &rootY, &child);
        return {rootX, rootY};
    }
    bool pixelBecomes(int x, int y, unsigned long value) {
        settle();
        return QTest::qWaitFor([&] { return pixel(x, y) == value; }, kWaitMs);
    }
    // The stacking position among the root's children of the top-level window that holds
    // `window` (for a managed one, the window manager's frame); -1 when it is not there.
    int stackingIndex(Window window) {
        Window rootReturn = None;
        Window parent = None;
        Window* children = nullptr;
        unsigned count = 0;
        while (XQueryTree(display(), window, &rootReturn, &parent, &children, &count) != 0) {
            if (children != nullptr)
                XFree(children);
            if (parent == root() || parent == None)
                break;
            window = parent;
        }
        XQueryTree(display(), root(), &rootReturn, &parent, &children, &count);
        int index = -1;
        for (unsigned position = 0; position < count; ++position) {
            if (children[position] == window)
                index = static_cast<int>(position);
        }
        if (children != nullptr)
            XFree(children);
        return index;
    }

    QtScheduler queue;
    std::unique_ptr<x11::X11Platform> platform = std::move(*x11::X11Platform::open(queue));
    GridPanel panel{queue};
    GridPanelController controller{panel, queue, *platform};
    PreviewOverlay overlay{platform->panelPlatform()};
    int width_ = 0;
    int height_ = 0;
};

TEST_F(GridPanelX11Test, PanelTakesKeysAndDragsWhileTheTargetStaysActive) {
    TestWindow target = openTestWindow();
    focus(target.id);
    std::vector<KeyCombo> keys;
    std::vector<CellSelection> commits;
    controller.onKey = [&](const KeyCombo& combo) {
        keys.push_back(combo);
        return true;
    };
    controller.onCommit = [&](CellSelection selection) { commits.push_back(selection); };
    controller.fadesOut = false;

    overlay.showGrid(wholeScreen(), {6, 4}, {}, std::nullopt, false);
    showPanel({6, 4});
    controller.raise();
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.hasKeyboard(); }, kWaitMs));
    EXPECT_GT(stackingIndex(panel.winId()), stackingIndex(overlay.winId()));
    EXPECT_EQ(activeWindow(), target.id);
    EXPECT_EQ(inputFocus(), target.id);

    ASSERT_EQ(xdotool({"key", "ctrl+alt+k"}), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !keys.empty(); }, kWaitMs));
    EXPECT_EQ(keys.front(), (KeyCombo{40, Modifiers::control | Modifiers::option}));

    GridView& grid = panel.gridView();
    drag(grid, grid.cellRect({4, 3}).center().toPoint(), grid.cellRect({1, 1}).center().toPoint());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !commits.empty(); }, kWaitMs));
    EXPECT_EQ(commits.front(), CellSelection(1, 1, 4, 3));
    EXPECT_EQ(activeWindow(), target.id);

    ASSERT_EQ(xdotool({"key", "Escape"}), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panel.isVisible(); }, kWaitMs));
    EXPECT_EQ(activeWindow(), target.id);
    EXPECT_EQ(inputFocus(), target.id);
}

TEST_F(GridPanelX11Test, OverlayShownBelowAWindowStaysUnderItFromItsFirstShow) {
    TestWindow window = openTestWindow();
    overlay.showGrid(wholeScreen(), {6, 4}, {}, window.id, false);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            settle();
            const int index = stackingIndex(overlay.winId());
            return index >= 0 && index < stackingIndex(window.id);
        },
        kWaitMs))
        << "the overlay is stacked above the window it belongs below";
}

class OverlayX11Test : public GridPanelX11Test, public ::testing::WithParamInterface<bool> {
  protected:
    void SetUp() override {
        if (GetParam()) {
            compositor_.emplace(std::vector<std::string>{"xcompmgr"},
                                ChildProcess::Ending::terminate);
            ASSERT_TRUE(QTest::qWaitFor(
                [&] { return platform->panelPlatform().compositorRunning(); }, kWaitMs))
                << "xcompmgr did not start";
        }
    }
    // Every cell centre shows the desktop, and every line its light grey.
    void expectGridOverDesktop(GridSize grid) {
        const auto lines = LayoutEngine::gridLines(grid, wholeScreen().visibleFrame, {}, 1);
        // Halfway down the top row, away from the stars at the crossings.
        const int middleY = static_cast<int>(lines->y.front() / 2);
        for (const double x : lines->x) {
            EXPECT_TRUE(pixelBecomes(static_cast<int>(x), middleY, kLineGrey * 0x010101))
                << "no line at x = " << x;
        }
        for (std::int64_t column = 0; column < grid.columns; ++column) {
            const auto cell = LayoutEngine::frame(CellSelection{column, 0, column, 0}, grid,
                                                  wholeScreen().visibleFrame, {}, 1);
            EXPECT_TRUE(pixelBecomes(static_cast<int>(cell->midX()), static_cast<int>(cell->midY()),
                                     kDesktopColour))
                << "column " << column << " hides the desktop: "
                << pixel(static_cast<int>(cell->midX()), static_cast<int>(cell->midY()));
        }
    }
    std::optional<ChildProcess> compositor_;
};

TEST_P(OverlayX11Test, LinesOverTheDesktopWhichNeverTurnsBlack) {
    const GridSize grid{5, 3};
    overlay.showGrid(wholeScreen(), grid, {}, std::nullopt, false);
    expectGridOverDesktop(grid);
    EXPECT_EQ(overlay.rendering(), GetParam() ? PreviewOverlay::Rendering::translucent
                                              : PreviewOverlay::Rendering::shaped);
    const auto lines = LayoutEngine::gridLines(grid, wholeScreen().visibleFrame, {}, 1);
    const int lineX = static_cast<int>(lines->x.front());
    const int middleY = static_cast<int>(lines->y.front() / 2);
    const int lineY = static_cast<int>(lines->y.front());
    overlay.hide();
    EXPECT_TRUE(pixelBecomes(lineX, middleY, kDesktopColour))
        << "the lines stay when hidden: " << pixel(lineX, middleY);

    std::vector<CellSelection> commits;
    overlay.onCommit = [&](CellSelection selection) { commits.push_back(selection); };
    overlay.showGrid(wholeScreen(), grid, {}, std::nullopt, true);
    expectGridOverDesktop(grid);
    const auto cell = [&](std::int64_t column, std::int64_t row) {
        const auto frame = LayoutEngine::frame(CellSelection{column, row, column, row}, grid,
                                               wholeScreen().visibleFrame, {}, 1);
        return QPoint(static_cast<int>(frame->midX()), static_cast<int>(frame->midY()));
    };
    drag(overlay, cell(3, 2), cell(1, 0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !commits.empty(); }, kWaitMs));
    EXPECT_EQ(commits.front(), CellSelection(1, 0, 3, 2));

    // Hidden, the lines go, also where a translucent window stays; and the desktop stays whole
    // when the compositing manager leaves.
    overlay.hide();
    // Nothing of a line's smoothed edges stays behind, also away from the preview just gone.
    for (int offset = -6; offset <= 6; ++offset) {
        EXPECT_TRUE(pixelBecomes(lineX + offset, middleY, kDesktopColour)) << offset;
        EXPECT_TRUE(pixelBecomes(cell(0, 0).x(), lineY + offset, kDesktopColour)) << offset;
    }
    // Shown again after a window came up above it (a menu, say), it lies above that window.
    XSetWindowAttributes unmanaged{};
    unmanaged.override_redirect = True;
    unmanaged.background_pixel = WhitePixel(display(), DefaultScreen(display()));
    const Window menu = XCreateWindow(display(), root(), 0, 0, static_cast<unsigned>(width_), 400,
                                      0, CopyFromParent, InputOutput, CopyFromParent,
                                      CWOverrideRedirect | CWBackPixel, &unmanaged);
    XMapRaised(display(), menu);
    EXPECT_TRUE(pixelBecomes(lineX, middleY, 0xFFFFFF));
    overlay.showGrid(wholeScreen(), grid, {}, std::nullopt, false);
    EXPECT_TRUE(pixelBecomes(lineX, middleY, kLineGrey * 0x010101));
    overlay.hide();
    XDestroyWindow(display(), menu);
    EXPECT_TRUE(pixelBecomes(lineX, middleY, kDesktopColour));

    compositor_.reset();
    const TestWindow window = openTestWindow();
    const QPoint shown = rootPoint(window.id, 20, 20);
    EXPECT_TRUE(pixelBecomes(shown.x(), shown.y(), 0xFFFFFF))
        << "a window opened afterwards does not show";
    EXPECT_TRUE(pixelBecomes(lineX, middleY, kDesktopColour));
}

// Xlib defines Bool as a macro, so the two values are listed.
INSTANTIATE_TEST_SUITE_P(Compositor, OverlayX11Test, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "xcompmgr" : "none"; });

}  // namespace
}  // namespace tilewise::testing

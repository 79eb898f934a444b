#include "platform/x11/WindowFrame.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include "platform/x11/Properties.h"
#include "tests/support/Printers.h"
#include "tests/x11/support/X11TestSupport.h"

namespace tilewise::testing {
namespace {

using std::chrono::milliseconds;
using x11::WindowFault;
using x11::WindowFrame;

constexpr milliseconds kMessagingTimeout{500};

class WindowFrameTest : public X11Test {
  protected:
    std::expected<void, WindowFault> place(Window window, const Rect& frame) {
        return windowFrame.write(window, frame.origin, frame.size, kMessagingTimeout);
    }

    // The requested frame must be what both the backend and the window tree report.
    void expectPlacedExactly(Window window, const Rect& frame) {
        ASSERT_EQ(place(window, frame), (std::expected<void, WindowFault>{}));
        EXPECT_EQ(windowFrame.read(window).value_or(Rect{}), frame);
        EXPECT_EQ(frameByTree(window), frame);
    }

    WindowFrame windowFrame{display(), atoms()};
};

TEST_F(WindowFrameTest, ReadsTheFrameTheManagerDrewAroundTheClient) {
    auto window = openTestWindow({"--size", "500x300"});
    const auto frame = windowFrame.read(window.id);
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(*frame, frameByTree(window.id));
    EXPECT_GT(frame->width(), 500) << "openbox decorates its clients";
}

TEST_F(WindowFrameTest, PlacesTheOuterFrameExactly) {
    auto window = openTestWindow();
    for (const Rect& frame : {Rect(0, 0, 960, 540), Rect(960, 540, 960, 540),
                              Rect(101, 57, 733, 411), Rect(0, 0, 1920, 1080)}) {
        SCOPED_TRACE(::testing::PrintToString(frame));
        expectPlacedExactly(window.id, frame);
    }
    // openbox answers the probe: that is kept on its check window for every later process.
    const auto check = x11::Properties::window(display(), root(), atoms().netSupportingWmCheck);
    ASSERT_TRUE(check.has_value());
    EXPECT_EQ(x11::Properties::cardinal(display(), *check, atoms().tilewiseManagerAnswers), 1);
}

TEST_F(WindowFrameTest, MovesOrResizesAloneKeepingTheOtherHalf) {
    auto window = openTestWindow();
    expectPlacedExactly(window.id, Rect(100, 100, 600, 400));
    ASSERT_TRUE(windowFrame.write(window.id, Point{300, 200}, std::nullopt, kMessagingTimeout));
    EXPECT_EQ(windowFrame.read(window.id), Rect(300, 200, 600, 400));
    ASSERT_TRUE(windowFrame.write(window.id, std::nullopt, Size{700, 500}, kMessagingTimeout));
    EXPECT_EQ(windowFrame.read(window.id), Rect(300, 200, 700, 500));
}

TEST_F(WindowFrameTest, PlacesAMaximizedWindowExactlyAndUnmaximizesIt) {
    auto window = openTestWindow({"--state", "maximized"});
    expectPlacedExactly(window.id, Rect(0, 0, 960, 540));
    const auto states = x11::Properties::atoms(display(), window.id, atoms().netWmState);
    EXPECT_THAT(states.value_or(std::vector<Atom>{}),
                ::testing::Not(::testing::Contains(atoms().netWmStateMaximizedVert)));
}

TEST_F(WindowFrameTest, PlacesAFullScreenWindowAfterLeavingFullScreen) {
    auto window = openTestWindow({"--state", "fullscreen"});
    expectPlacedExactly(window.id, Rect(960, 0, 960, 1080));
}

TEST_F(WindowFrameTest, ATerminalKeepsToWholeCharacterCells) {
    auto terminal = openXterm({"-geometry", "80x24+0+0"});
    const Rect requested(0, 0, 1920, 540);
    ASSERT_TRUE(place(terminal.id, requested));
    const auto actual = windowFrame.read(terminal.id);
    ASSERT_TRUE(actual.has_value());
    EXPECT_EQ(actual->origin, requested.origin);
    EXPECT_NE(actual->size, requested.size);
    EXPECT_EQ(*actual, frameByTree(terminal.id));
    XSizeHints hints{};
    long supplied = 0;
    ASSERT_TRUE(XGetWMNormalHints(display(), terminal.id, &hints, &supplied));
    XWindowAttributes client{};
    XGetWindowAttributes(display(), terminal.id, &client);
    EXPECT_EQ((client.height - hints.base_height) % hints.height_inc, 0);
}

TEST_F(WindowFrameTest, AMinimumSizeWindowStaysAtItsMinimum) {
    auto window = openTestWindow({"--min", "800x600"});
    ASSERT_TRUE(place(window.id, Rect(10, 20, 300, 200)));
    const auto actual = windowFrame.read(window.id);
    ASSERT_TRUE(actual.has_value());
    EXPECT_EQ(actual->origin, (Point{10, 20}));
    XWindowAttributes client{};
    XGetWindowAttributes(display(), window.id, &client);
    EXPECT_EQ(client.width, 800);
    EXPECT_EQ(client.height, 600);
}

TEST_F(WindowFrameTest, OnlyAWindowWhoseMinimumIsItsMaximumIsNotResizable) {
    auto fixed = openTestWindow({"--size", "300x200", "--fixed"});
    auto bounded = openTestWindow({"--min", "200x100", "--max", "900x800"});
    auto free = openTestWindow();
    const auto fixedSize = [&](Window window) {
        return windowFrame.takeSnapshot(window).value().sizeHints.isFixed();
    };
    EXPECT_TRUE(fixedSize(fixed.id));
    EXPECT_FALSE(fixedSize(bounded.id));
    EXPECT_FALSE(fixedSize(free.id));
}

TEST_F(WindowFrameTest, AFixedSizeWindowMovesButKeepsItsSize) {
    auto window = openTestWindow({"--size", "300x200", "--fixed"});
    const auto before = windowFrame.read(window.id);
    ASSERT_TRUE(place(window.id, Rect(500, 400, 960, 540)));
    const auto after = windowFrame.read(window.id);
    ASSERT_TRUE(before && after);
    EXPECT_EQ(after->origin, (Point{500, 400}));
    EXPECT_EQ(after->size, before->size);
}

TEST_F(WindowFrameTest, AVanishedWindowIsReportedAsSuch) {
    auto window = openTestWindow();
    window.destroy();
    EXPECT_EQ(windowFrame.read(window.id), std::unexpected(WindowFault::vanished));
    EXPECT_EQ(place(window.id, Rect(0, 0, 500, 500)), std::unexpected(WindowFault::vanished));
}

class FluxboxWindowFrameTest : public WindowFrameTest {};

TEST_F(FluxboxWindowFrameTest, PlacesTheOuterFrameExactly) {
    auto window = openTestWindow();
    for (const Rect& frame :
         {Rect(0, 0, 960, 540), Rect(960, 520, 960, 540), Rect(33, 44, 555, 666)}) {
        SCOPED_TRACE(::testing::PrintToString(frame));
        expectPlacedExactly(window.id, frame);
    }
    // fluxbox took a bare move for a resize that grew the window by its decorations.
    ASSERT_TRUE(windowFrame.write(window.id, Point{200, 100}, std::nullopt, kMessagingTimeout));
    EXPECT_EQ(windowFrame.read(window.id), Rect(200, 100, 555, 666));
}

TEST_F(FluxboxWindowFrameTest, PlacesAMaximizedWindowExactly) {
    auto window = openTestWindow({"--state", "maximized"});
    expectPlacedExactly(window.id, Rect(0, 0, 960, 540));
}

// Runs without a window manager: the fixture can pose as one that never answers.
class NoManagerWindowFrameTest : public WindowFrameTest {
  protected:
    void poseAsSilentManager() {
        const Window check = XCreateSimpleWindow(display(), root(), 0, 0, 1, 1, 0, 0, 0);
        for (const Window holder : {check, root()}) {
            XChangeProperty(display(), holder, atoms().netSupportingWmCheck, XA_WINDOW, 32,
                            PropModeReplace, reinterpret_cast<const unsigned char*>(&check), 1);
        }
        const long supported[] = {static_cast<long>(atoms().netMoveresizeWindow),
                                  static_cast<long>(atoms().netRequestFrameExtents)};
        XChangeProperty(display(), root(), atoms().netSupported, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(supported), 2);
        // An earlier process found that this manager answers: now it has hung.
        const long answers = 1;
        XChangeProperty(display(), check, atoms().tilewiseManagerAnswers, XA_CARDINAL, 32,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(&answers), 1);
        XSync(display(), False);
    }
};

TEST_F(NoManagerWindowFrameTest, WithoutAManagerTheClientItselfIsConfigured) {
    auto window = openTestWindow();
    expectPlacedExactly(window.id, Rect(70, 80, 640, 480));
}

TEST_F(NoManagerWindowFrameTest, AManagerThatStoppedAnsweringIsReported) {
    auto window = openTestWindow();
    poseAsSilentManager();
    EXPECT_EQ(windowFrame.write(window.id, Point{40, 40}, Size{500, 400}, milliseconds(100)),
              std::unexpected(WindowFault::noAnswer));
}

}  // namespace
}  // namespace tilewise::testing

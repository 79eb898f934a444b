#include <X11/Xlib-xcb.h>

#include <array>

#include "platform/ManualScheduler.h"
#include "platform/x11/Monitors.h"
#include "platform/x11/UsableAreas.h"
#include "platform/x11/X11EventLoop.h"
#include "platform/x11/X11Screens.h"

#include "tests/support/Printers.h"
#include "tests/x11/support/X11TestSupport.h"

namespace tilewise::testing {
namespace {

// Runs on two side-by-side heads of a nested Xephyr, whose RandR knows only the first.
class TwoHeadsTest : public X11Test {
  protected:
    Rect head(int index) {
        const double width = DisplayWidth(display(), DefaultScreen(display())) / 2.0;
        return Rect(index * width, 0, width, DisplayHeight(display(), DefaultScreen(display())));
    }
};

TEST_F(TwoHeadsTest, BothHeadsAreMonitorsInOrder) {
    const auto monitors = x11::MonitorsRead(display()).monitors();
    ASSERT_EQ(monitors.size(), 2u);
    EXPECT_EQ(monitors[0].frame, head(0));
    EXPECT_EQ(monitors[1].frame, head(1));
    EXPECT_NE(monitors[0].id, monitors[1].id);
}

TEST_F(TwoHeadsTest, ADockTakesItsSpaceFromItsOwnHeadOnly) {
    const Rect right = head(1);
    constexpr long kDockHeight = 30;
    const long bottomStart = static_cast<long>(right.minX());
    const long bottomEnd = static_cast<long>(right.maxX()) - 1;
    auto dock =
        openTestWindow({"--type", "dock", "--size",
                        std::to_string(static_cast<int>(right.width())) + "x30", "--position",
                        std::to_string(bottomStart) + "," +
                            std::to_string(static_cast<long>(right.maxY()) - kDockHeight),
                        "--strut-partial",
                        "0,0,0," + std::to_string(kDockHeight) + ",0,0,0,0,0,0," +
                            std::to_string(bottomStart) + "," + std::to_string(bottomEnd)});
    x11::MonitorsRead monitorsRead(display());
    x11::UsableAreasRead usableRead(display(), atoms());
    const auto monitors = monitorsRead.monitors();
    const auto areas = usableRead.areas(monitors, monitorsRead.rootSize());
    ASSERT_EQ(areas.size(), 2u);
    EXPECT_EQ(areas[0], head(0));
    EXPECT_EQ(areas[1], Rect(right.minX(), 0, right.width(), right.height() - kDockHeight));
}

TEST_F(TwoHeadsTest, TheDisplaysCommandListsBothHeadsInTheTopLeftSpace) {
    const auto result = runTilewise({"displays"});
    ASSERT_EQ(result.status, 0) << result.output;
    const auto frameText = [](const Rect& rect) {
        return "frame " + std::to_string(static_cast<int>(rect.minX())) + "," +
               std::to_string(static_cast<int>(rect.minY())) + " " +
               std::to_string(static_cast<int>(rect.width())) + "x" +
               std::to_string(static_cast<int>(rect.height()));
    };
    EXPECT_THAT(result.output, ::testing::HasSubstr(frameText(head(0))));
    EXPECT_THAT(result.output, ::testing::HasSubstr(frameText(head(1))));
    // Each id says which output it is.
    for (const auto& monitor : x11::MonitorsRead(display()).monitors()) {
        if (!monitor.name.empty()) {
            EXPECT_THAT(result.output,
                        ::testing::HasSubstr("display " + std::to_string(monitor.id) + " (" +
                                             monitor.name + ")  frame "));
        }
    }
}

// Monitors are read once and kept until RandR tells of a change. Xlib knows RandR's events only
// as the backend registers them: the news must reach the screens' observers.
TEST_F(X11Test, RandRsNewsReachesTheScreensObservers) {
    auto connection = x11::X11Connection::open();
    ASSERT_TRUE(connection.has_value());
    ManualScheduler scheduler;
    x11::X11EventLoop events(*connection, scheduler);
    x11::X11Screens screens(connection->display(), atoms(), events);
    int changes = 0;
    screens.observeScreenParameters([&] { ++changes; });
    ASSERT_FALSE(screens.screens().empty());
    // Sent with no event mask, an event goes to the client that made the window.
    const Window own = XCreateSimpleWindow(connection->display(), root(), 0, 0, 1, 1, 0, 0, 0);
    XSync(connection->display(), False);
    xcb_connection_t* xcb = XGetXCBConnection(display());
    const auto* randr = xcb_get_extension_data(xcb, &xcb_randr_id);
    ASSERT_TRUE(randr != nullptr && randr->present);
    std::array<char, 32> news{};
    news[0] = static_cast<char>(randr->first_event + XCB_RANDR_SCREEN_CHANGE_NOTIFY);
    xcb_send_event(xcb, 0, static_cast<xcb_window_t>(own), 0, news.data());
    XSync(display(), False);
    XSync(connection->display(), False);
    events.dispatchPending();
    EXPECT_EQ(changes, 1);
}

TEST(UsableAreasTest, AStrutOutsideAMonitorsBandLeavesItAlone) {
    const Size root{1920, 1080};
    const x11::Strut leftPanel{.left = 40, .leftStartY = 0, .leftEndY = 1079};
    const x11::Strut topBarOnRight{.top = 25, .topStartX = 960, .topEndX = 1919};
    EXPECT_EQ(x11::subtractStruts(Rect(0, 0, 960, 1080), {leftPanel, topBarOnRight}, root),
              Rect(40, 0, 920, 1080));
    EXPECT_EQ(x11::subtractStruts(Rect(960, 0, 960, 1080), {leftPanel, topBarOnRight}, root),
              Rect(960, 25, 960, 1055));
}

}  // namespace
}  // namespace tilewise::testing

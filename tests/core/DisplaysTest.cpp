#include "core/Displays.h"

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

namespace tilewise {
namespace {

using DisplayTopology::cyclingOrder;
using DisplayTopology::displayContaining;
using DisplayTopology::next;
using DisplayTopology::reservingMenuBars;

DisplayInfo display(std::uint32_t id, Rect frame) {
    return {id, frame, frame, 1};
}

std::vector<std::uint32_t> ids(const std::vector<DisplayInfo>& displays) {
    std::vector<std::uint32_t> result;
    for (const auto& d : displays)
        result.push_back(d.id);
    return result;
}

TEST(DisplaysTest, ConversionsReflectAboutThePrimaryHeight) {
    const CoordinateSpace space{900};
    EXPECT_EQ(space.topLeftFromAppKit(Rect{0, 0, 100, 50}), (Rect{0, 850, 100, 50}));
    EXPECT_EQ(space.topLeftFromAppKit(Rect{0, 900, 1920, 1080}).minY(), -1080);
    EXPECT_EQ(space.topLeftFromAppKitPoint(Point{15, 900}), (Point{15, 0}));
}

TEST(DisplaysTest, ConversionRoundTripsInBothDirections) {
    const CoordinateSpace space{1117};
    for (const Rect r : {Rect{0, 0, 1, 1}, Rect{-1920, 37.5, 1920, 1080},
                         Rect{1440, -300, 2560, 1440}, Rect{3.25, 1116, 0, 0}}) {
        EXPECT_EQ(space.appKitFromTopLeft(space.topLeftFromAppKit(r)), r);
        EXPECT_EQ(space.topLeftFromAppKit(space.appKitFromTopLeft(r)), r);
    }
}

TEST(DisplaysTest, WindowBelongsToDisplayWithLargestOverlap) {
    const std::vector<DisplayInfo> displays{display(1, {0, 0, 1000, 1000}),
                                            display(2, {1000, 0, 1000, 1000})};
    EXPECT_EQ(displayContaining(Rect{900, 0, 300, 100}, displays)->id, 2u);
    EXPECT_EQ(displayContaining(Rect{800, 0, 300, 100}, displays)->id, 1u);
    EXPECT_EQ(displayContaining(Rect{900, 0, 200, 100}, displays)->id, 1u)
        << "equal overlaps keep the earlier display";
    const std::vector<DisplayInfo> reversed{displays[1], displays[0]};
    EXPECT_EQ(displayContaining(Rect{900, 0, 200, 100}, reversed)->id, 2u);
}

TEST(DisplaysTest, WindowOutsideEveryDisplayGoesToNearestToItsCentre) {
    const std::vector<DisplayInfo> displays{display(1, {0, 0, 1000, 1000}),
                                            display(2, {2000, 0, 1000, 1000})};
    EXPECT_EQ(displayContaining(Rect{1600, 100, 300, 100}, displays)->id, 2u);
    EXPECT_EQ(displayContaining(Rect{1400, 100, 200, 100}, displays)->id, 1u)
        << "centre exactly between both picks the earlier one";
    EXPECT_EQ(displayContaining(Rect{1950, 10, 0, 10}, displays)->id, 2u)
        << "zero width overlaps nothing and is placed by its centre";
    EXPECT_EQ(displayContaining(Rect{0, 0, 10, 10}, {}), std::nullopt);
}

TEST(DisplaysTest, PointOnSharedEdgeBelongsToTheRightHandDisplay) {
    const std::vector<DisplayInfo> displays{display(1, {0, 0, 1440, 900}),
                                            display(2, {1440, 0, 1920, 1080})};
    EXPECT_EQ(displayContaining(Point{1440, 100}, displays)->id, 2u);
    EXPECT_EQ(displayContaining(Point{0, 0}, displays)->id, 1u);
    EXPECT_EQ(displayContaining(Point{1000, 950}, displays)->id, 1u) << "nearest";
    EXPECT_EQ(displayContaining(Point{1500, 1200}, displays)->id, 2u) << "nearest";
    EXPECT_EQ(displayContaining(Point{0, 0}, {}), std::nullopt);
}

TEST(DisplaysTest, MenuBarsAreReservedWithThePrimaryDisplaysGap) {
    DisplayInfo primary{1, {0, 0, 1440, 900}, {0, 25, 1440, 875}, 2};
    DisplayInfo second = display(2, {1440, 0, 1920, 1080});
    const auto result =
        reservingMenuBars({primary, second}, {Rect{0, 0, 1440, 24}, Rect{1440, 0, 1920, 24}});
    ASSERT_EQ(result.size(), 2u);
    EXPECT_EQ(result[0], primary);
    EXPECT_EQ(result[1].visibleFrame, (Rect{1440, 25, 1920, 1055}));
    EXPECT_EQ(result[1].frame, second.frame);
}

TEST(DisplaysTest, MenuBarBelongsWithinOnePointOfTheTopAndLeavesAOnePointGap) {
    const auto withOffset = [](double dy) {
        return reservingMenuBars({display(1, {0, 0, 1000, 800})}, {Rect{0, dy, 1000, 24}})[0]
            .visibleFrame.minY();
    };
    EXPECT_NE(withOffset(0.5), 0) << "half a point off still belongs";
    EXPECT_EQ(withOffset(1), 0) << "a whole point off does not";
    EXPECT_EQ(reservingMenuBars({display(1, {0, 0, 10, 10})}, {})[0].visibleFrame,
              (Rect{0, 0, 10, 10}));
    EXPECT_TRUE(reservingMenuBars({}, {Rect{0, 0, 10, 1}}).empty());
    const auto noPrimaryGap =
        reservingMenuBars({display(7, {0, 0, 1920, 1080})}, {Rect{0, 0, 1920, 30}});
    EXPECT_EQ(noPrimaryGap[0].visibleFrame, (Rect{0, 31, 1920, 1049}))
        << "the gap defaults to one point";
}

TEST(DisplaysTest, CyclingOrderIsLeftToRightThenTopToBottomThenById) {
    const auto order =
        cyclingOrder({display(3, {1440, 0, 1920, 1080}), display(1, {0, 0, 1440, 900}),
                      display(2, {-1920, 0, 1920, 1080}), display(5, {0, -1080, 1920, 1080}),
                      display(9, {1440, 0, 800, 600}), display(4, {1440, 0, 800, 600})});
    EXPECT_EQ(ids(order), (std::vector<std::uint32_t>{2, 5, 1, 3, 4, 9}));
}

TEST(DisplaysTest, NextWrapsAroundAndStartsOverForUnknownIds) {
    const std::vector<DisplayInfo> displays{display(1, {0, 0, 1440, 900}),
                                            display(3, {1440, 0, 1920, 1080}),
                                            display(2, {-1920, 0, 1920, 1080})};
    EXPECT_EQ(next(2, displays)->id, 1u);
    EXPECT_EQ(next(1, displays)->id, 3u);
    EXPECT_EQ(next(3, displays)->id, 2u);
    EXPECT_EQ(next(42, displays)->id, 2u);
    EXPECT_EQ(next(1, {displays[0]})->id, 1u);
    EXPECT_EQ(next(1, {}), std::nullopt);
}

}  // namespace
}  // namespace tilewise

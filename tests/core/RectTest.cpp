#include "core/Rect.h"

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

namespace tilewise {
namespace {

TEST(RectTest, EdgesAndMiddlesOfEitherSignOfSize) {
    for (const Rect r : {Rect{10, 20, 100, 50}, Rect{110, 70, -100, -50}}) {
        EXPECT_EQ(r.minX(), 10);
        EXPECT_EQ(r.midX(), 60);
        EXPECT_EQ(r.maxX(), 110);
        EXPECT_EQ(r.minY(), 20);
        EXPECT_EQ(r.midY(), 45);
        EXPECT_EQ(r.maxY(), 70);
        EXPECT_EQ(r.width(), 100);
        EXPECT_EQ(r.height(), 50);
    }
}

TEST(RectTest, ContainsMinimumEdgesButNotMaximumEdges) {
    const Rect r{0, 0, 10, 10};
    EXPECT_TRUE(r.contains({0, 0}));
    EXPECT_TRUE(r.contains({9.999, 9.999}));
    EXPECT_FALSE(r.contains({10, 5}));
    EXPECT_FALSE(r.contains({5, 10}));
    EXPECT_FALSE(r.contains({-0.001, 5}));
}

TEST(RectTest, IntersectionOfOverlappingTouchingAndDisjointRectangles) {
    const Rect a{0, 0, 100, 100};
    EXPECT_EQ(a.intersection(Rect{50, 60, 100, 100}), (Rect{50, 60, 50, 40}));
    EXPECT_EQ(a.intersection(Rect{100, 0, 50, 50}), (Rect{100, 0, 0, 50}));
    EXPECT_EQ(a.intersection(Rect{101, 0, 50, 50}), std::nullopt);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(a.intersection(Rect{nan, 0, 10, 10}), std::nullopt);
}

TEST(RectTest, EqualRectanglesHashAlike) {
    std::hash<Rect> hash;
    EXPECT_EQ(hash(Rect{1, 2, 3, 4}), hash(Rect{1, 2, 3, 4}));
    EXPECT_NE(hash(Rect{1, 2, 3, 4}), hash(Rect{2, 1, 3, 4}));
}

}  // namespace
}  // namespace tilewise

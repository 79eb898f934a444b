#include "core/SelectionTracker.h"

#include <limits>

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

namespace tilewise {
namespace {

constexpr GridSize kGrid{6, 6};

TEST(SelectionTrackerTest, DragYieldsNormalisedSelectionOnce) {
    SelectionTracker tracker{kGrid};
    tracker.begin(GridCell{4, 1});
    EXPECT_TRUE(tracker.isDragging());
    EXPECT_TRUE(tracker.move(GridCell{2, 3}));
    EXPECT_EQ(tracker.selection(), (CellSelection{2, 1, 4, 3}));
    EXPECT_EQ(tracker.end(), (CellSelection{2, 1, 4, 3}));
    EXPECT_FALSE(tracker.isDragging());
    EXPECT_EQ(tracker.end(), std::nullopt);
}

TEST(SelectionTrackerTest, MoveReportsOnlyRealChanges) {
    SelectionTracker tracker{kGrid};
    EXPECT_FALSE(tracker.move(GridCell{1, 1}));
    EXPECT_EQ(tracker.current(), std::nullopt);

    tracker.begin(GridCell{5, 5});
    EXPECT_FALSE(tracker.move(GridCell{5, 5}));
    EXPECT_FALSE(tracker.move(GridCell{9, 12})) << "clamps onto the current cell";
    EXPECT_TRUE(tracker.move(GridCell{-1, 5}));
    EXPECT_EQ(tracker.current(), (GridCell{0, 5}));
}

TEST(SelectionTrackerTest, BeginClampsAndRestarts) {
    SelectionTracker tracker{kGrid};
    tracker.begin(GridCell{-2, 99});
    EXPECT_EQ(tracker.anchor(), (GridCell{0, 5}));
    tracker.move(GridCell{3, 3});
    tracker.begin(GridCell{1, 1});
    EXPECT_EQ(tracker.selection(), (CellSelection{1, 1, 1, 1}));
}

TEST(SelectionTrackerTest, CancelAndResizeAbandonTheDrag) {
    SelectionTracker tracker{kGrid};
    tracker.begin(GridCell{1, 1});
    tracker.cancel();
    EXPECT_EQ(tracker.selection(), std::nullopt);

    tracker.begin(GridCell{1, 1});
    tracker.resize(GridSize{3, 2});
    EXPECT_FALSE(tracker.isDragging());
    EXPECT_EQ(tracker.grid(), (GridSize{3, 2}));
    tracker.begin(GridCell{5, 5});
    EXPECT_EQ(tracker.anchor(), (GridCell{2, 1})) << "clamped to the new grid";
}

TEST(SelectionTrackerTest, CellUnderPointInViewWithRowsFromTop) {
    const Rect view{100, 50, 600, 300};
    EXPECT_EQ(SelectionTracker::cell({100, 50}, view, kGrid, true), (GridCell{0, 0}));
    EXPECT_EQ(SelectionTracker::cell({350, 175}, view, kGrid, true), (GridCell{2, 2}));
    EXPECT_EQ(SelectionTracker::cell({700, 350}, view, kGrid, true), (GridCell{5, 5}))
        << "the right and bottom edges belong to the last cells";
    EXPECT_EQ(SelectionTracker::cell({0, 0}, view, kGrid, true), (GridCell{0, 0}));
    EXPECT_EQ(SelectionTracker::cell({5000, 5000}, view, kGrid, true), (GridCell{5, 5}));
}

TEST(SelectionTrackerTest, RowsFromBottomPutRowZeroAtTheTop) {
    const Rect view{0, 0, 600, 600};
    EXPECT_EQ(SelectionTracker::cell({10, 599}, view, kGrid, false), (GridCell{0, 0}));
    EXPECT_EQ(SelectionTracker::cell({10, 1}, view, kGrid, false), (GridCell{0, 5}));
}

TEST(SelectionTrackerTest, TinyRectangleUsesRawOffset) {
    const Rect view{10, 10, 0.5, 0.5};
    // The fraction is the offset in points, so 0.4 points in is 0.4 of the grid.
    EXPECT_EQ(SelectionTracker::cell({10.4, 10.9}, view, GridSize{10, 10}, true), (GridCell{4, 9}));
}

TEST(SelectionTrackerTest, NonFiniteInputLandsOnACellInsideTheGrid) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    const Rect view{0, 0, 600, 600};
    const Point points[] = {{nan, nan}, {inf, -inf}, {-inf, inf}, {1e300, -1e300}};
    for (const Point p : points) {
        const GridCell cell = SelectionTracker::cell(p, view, kGrid, true);
        EXPECT_TRUE(cell.column >= 0 && cell.column < 6 && cell.row >= 0 && cell.row < 6)
            << p.x << "," << p.y;
    }
    const Rect broken{nan, inf, nan, -inf};
    const GridCell cell = SelectionTracker::cell({1, 1}, broken, kGrid, false);
    EXPECT_TRUE(cell.column >= 0 && cell.column < 6 && cell.row >= 0 && cell.row < 6);
    EXPECT_EQ(SelectionTracker::cell({inf, inf}, view, GridSize{30, 30}, true), (GridCell{29, 29}));
    EXPECT_EQ(SelectionTracker::cell({-inf, -inf}, view, GridSize{30, 30}, true), (GridCell{0, 0}));
}

}  // namespace
}  // namespace tilewise

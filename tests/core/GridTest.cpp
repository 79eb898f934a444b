#include "core/Grid.h"

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

namespace tilewise {
namespace {

TEST(GridTest, SelectionNormalisesCornersPerAxis) {
    const CellSelection s{3, 4, 1, 2};
    EXPECT_EQ(s, (CellSelection{1, 2, 3, 4}));
    EXPECT_EQ(s.startColumn(), 1);
    EXPECT_EQ(s.startRow(), 2);
    EXPECT_EQ(s.endColumn(), 3);
    EXPECT_EQ(s.endRow(), 4);
    EXPECT_EQ(s.columnCount(), 3);
    EXPECT_EQ(s.rowCount(), 3);
    EXPECT_EQ((CellSelection{GridCell{5, 0}, GridCell{2, 3}}), (CellSelection{2, 0, 5, 3}));
}

TEST(GridTest, FullSelectionCoversTheWholeGrid) {
    const GridSize grid{6, 4};
    EXPECT_EQ(CellSelection::full(grid), (CellSelection{0, 0, 5, 3}));
    EXPECT_EQ(CellSelection::full(grid).normalized(grid), (NormalizedRect{0, 0, 1, 1}));
}

TEST(GridTest, NormalizedFractions) {
    const GridSize grid{6, 6};
    EXPECT_EQ((CellSelection{0, 0, 2, 5}.normalized(grid)), (NormalizedRect{0, 0, 0.5, 1}));
    const auto n = CellSelection{1, 2, 1, 2}.normalized(GridSize{3, 4});
    EXPECT_DOUBLE_EQ(n.minX, 1.0 / 3);
    EXPECT_DOUBLE_EQ(n.maxX, 2.0 / 3);
    EXPECT_DOUBLE_EQ(n.minY, 0.5);
    EXPECT_DOUBLE_EQ(n.maxY, 0.75);
}

TEST(GridTest, GridsAndSelectionsAreValidOnlyWithinBounds) {
    for (const GridSize valid : {GridSize{30, 30}, GridSize{1, 1}}) {
        EXPECT_TRUE(valid.isValid()) << testing::PrintToString(valid);
    }
    for (const GridSize invalid :
         {GridSize{31, 1}, GridSize{0, 5}, GridSize{5, 0}, GridSize{5, -1}}) {
        EXPECT_FALSE(invalid.isValid()) << testing::PrintToString(invalid);
    }
    const GridSize grid{6, 6};
    EXPECT_TRUE((CellSelection{0, 0, 5, 5}.isValid(grid)));
    EXPECT_FALSE((CellSelection{0, 0, 6, 5}.isValid(grid)));
    EXPECT_FALSE((CellSelection{0, -1, 5, 5}.isValid(grid)));
    EXPECT_FALSE((CellSelection{0, 0, 0, 0}.isValid(GridSize{0, 6})));
    EXPECT_FALSE((CellSelection{0, 0, 0, 0}.isValid(GridSize{31, 6})));
}

TEST(GridTest, ClampMovesCellIntoGrid) {
    const GridSize grid{6, 6};
    EXPECT_EQ(grid.clamp(GridCell{-3, 40}), (GridCell{0, 5}));
    EXPECT_EQ(grid.clamp(GridCell{2, 3}), (GridCell{2, 3}));
}

TEST(GridTest, HashingCoversEveryFieldInOrder) {
    std::hash<CellSelection> hash;
    EXPECT_EQ(hash(CellSelection{1, 2, 3, 4}), hash(CellSelection{3, 4, 1, 2}));
    EXPECT_NE(hash(CellSelection{1, 2, 3, 4}), hash(CellSelection{2, 1, 4, 3}));
    EXPECT_NE(std::hash<GridSize>{}(GridSize{3, 4}), std::hash<GridSize>{}(GridSize{4, 3}));
}

}  // namespace
}  // namespace tilewise

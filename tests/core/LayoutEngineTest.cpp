#include "core/LayoutEngine.h"

#include <cmath>
#include <limits>
#include <random>
#include <tuple>

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

namespace tilewise {
namespace {

using LayoutEngine::frame;
using LayoutEngine::gridLines;

const Rect kVisible{0, 25, 1000, 700};
const Margins kMargins{true, EdgeInsets{10, 10, 10, 10}, 5, 5};
constexpr GridSize kGrid{3, 2};

Rect cellFrame(std::int64_t column, std::int64_t row, double scale) {
    return frame(CellSelection{column, row, column, row}, kGrid, kVisible, kMargins, scale).value();
}

TEST(LayoutEngineTest, WorkedExampleAtScalesTwoAndOne) {
    const std::tuple<std::int64_t, double, Rect> cells[] = {
        {0, 2, {10, 35, 323.5, 337.5}},    {1, 2, {338.5, 35, 323, 337.5}},
        {2, 2, {666.5, 35, 323.5, 337.5}}, {0, 1, {10, 35, 323, 338}},
        {1, 1, {338, 35, 324, 338}},       {2, 1, {667, 35, 323, 338}}};
    for (const auto& [column, scale, expected] : cells) {
        EXPECT_EQ(cellFrame(column, 0, scale), expected)
            << "column " << column << " scale " << scale;
    }
    EXPECT_EQ(frame(CellSelection{0, 0, 2, 1}, kGrid, kVisible, kMargins, 2),
              (Rect{10, 35, 980, 680}));
    EXPECT_EQ(frame(CellSelection{1, 1, 2, 1}, kGrid, kVisible, kMargins, 2),
              (Rect{338.5, 377.5, 651.5, 337.5}));
}

TEST(LayoutEngineTest, UnusableBackingScaleSnapsToWholePoints) {
    for (double scale : {0.0, -2.0, std::numeric_limits<double>::quiet_NaN(),
                         std::numeric_limits<double>::infinity()}) {
        EXPECT_EQ(cellFrame(1, 0, scale), cellFrame(1, 0, 1)) << scale;
    }
}

TEST(LayoutEngineTest, DisabledMarginsLayOutWithoutInsetsOrGaps) {
    Margins disabled = kMargins;
    disabled.enabled = false;
    const Rect area{0, 0, 1000, 700};
    const auto width = [&](std::int64_t column) {
        return frame(CellSelection{column, 0, column, 0}, kGrid, area, disabled, 2)->width();
    };
    EXPECT_EQ(width(0), 333.5);
    EXPECT_EQ(width(1), 333);
    EXPECT_EQ(width(2), 333.5);
}

TEST(LayoutEngineTest, ChecksRunInOrderAndFirstFailureWins) {
    const CellSelection outside{0, 0, 40, 40};
    Margins invalid = kMargins;
    invalid.screen.left = 600;
    invalid.enabled = false;
    EXPECT_EQ(frame(outside, GridSize{31, 5}, kVisible, invalid, 2).error(),
              LayoutError::invalidGrid);
    EXPECT_EQ(frame(outside, kGrid, kVisible, invalid, 2).error(),
              LayoutError::selectionOutsideGrid);
    EXPECT_EQ(frame(CellSelection{0, 0, 0, 2}, kGrid, kVisible, kMargins, 2).error(),
              LayoutError::selectionOutsideGrid)
        << "endRow equal to rows";
    EXPECT_EQ(frame(CellSelection{0, 0, 0, 0}, kGrid, kVisible, invalid, 2).error(),
              LayoutError::invalidMargins)
        << "checked even when margins are disabled";
    EXPECT_EQ(frame(CellSelection{0, 0, 0, 0}, kGrid, Rect{0, 0, 1, 1}, kMargins, 2).error(),
              LayoutError::marginsTooLarge);
}

TEST(LayoutEngineTest, MarginsOutsideZeroToFiveHundredOrNotFiniteAreInvalidEvenWhenDisabled) {
    EXPECT_TRUE(Margins::divvyDefault.isValid());
    EXPECT_FALSE(Margins::divvyDefault.enabled);
    for (double bad : {-0.5, 500.5, std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity()}) {
        Margins spacing = kMargins;
        spacing.verticalSpacing = bad;
        Margins inset = Margins::divvyDefault;
        inset.screen.left = bad;
        EXPECT_FALSE(spacing.isValid()) << bad;
        EXPECT_FALSE(inset.isValid()) << bad;
        EXPECT_EQ(frame(CellSelection{0, 0, 0, 0}, kGrid, kVisible, spacing, 2).error(),
                  LayoutError::invalidMargins);
    }
    Margins edge = kMargins;
    edge.screen = EdgeInsets{0, 500, 0, 500};
    edge.verticalSpacing = 500;
    EXPECT_TRUE(edge.isValid());
}

TEST(LayoutEngineTest, MarginsTooLargeForUsableAreaCellOrFrame) {
    const Margins tight{true, EdgeInsets{10, 10, 10, 10}, 5, 5};
    const GridSize fine{30, 30};
    const CellSelection corner{0, 0, 0, 0};
    EXPECT_EQ(frame(corner, fine, Rect{0, 0, 100, 100}, tight, 1).error(),
              LayoutError::marginsTooLarge);
    EXPECT_EQ(frame(corner, fine, Rect{0, 0, 200, 200}, tight, 1), (Rect{10, 10, 1, 1}));
    EXPECT_EQ(frame(CellSelection{29, 29, 29, 29}, fine, Rect{0, 0, 200, 200}, tight, 1),
              (Rect{189, 189, 1, 1}));

    Margins sides{true, EdgeInsets{0, 200, 0, 299.5}, 0, 0};
    EXPECT_EQ(frame(corner, GridSize{1, 1}, Rect{0, 0, 500, 500}, sides, 1).error(),
              LayoutError::marginsTooLarge);
    const Rect nanFrame{0, 0, std::numeric_limits<double>::quiet_NaN(), 100};
    EXPECT_EQ(frame(corner, GridSize{1, 1}, nanFrame, kMargins, 1).error(),
              LayoutError::marginsTooLarge);
}

TEST(LayoutEngineTest, GridLinesLieInTheMiddleOfEveryGap) {
    const auto lines = gridLines(kGrid, kVisible, kMargins, 2);
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(lines->x, (std::vector<double>{336, 664}));
    EXPECT_EQ(lines->y, (std::vector<double>{375}));
}

TEST(LayoutEngineTest, GridLinesOfSingleCellGridSkipValidation) {
    Margins invalid = kMargins;
    invalid.horizontalSpacing = -1;
    const auto lines = gridLines(GridSize{1, 1}, kVisible, invalid, 2);
    ASSERT_TRUE(lines.has_value());
    EXPECT_TRUE(lines->x.empty());
    EXPECT_TRUE(lines->y.empty());
    EXPECT_EQ(gridLines(GridSize{2, 1}, kVisible, invalid, 2).error(), LayoutError::invalidMargins);
    EXPECT_EQ(gridLines(GridSize{1, 31}, kVisible, kMargins, 2).error(), LayoutError::invalidGrid);
}

// Over many random grids, margins, scales and visible frames: what callers rely on.
TEST(LayoutEngineTest, AdjacentCellsAreSnappedSpacingApartAndEdgesAreOnThePixelGrid) {
    std::mt19937_64 random{20261206};
    std::uniform_int_distribution<std::int64_t> cells(1, 30);
    std::uniform_real_distribution<double> inset(0, 40);
    std::uniform_real_distribution<double> spacing(0, 25);
    std::uniform_real_distribution<double> origin(-3000, 3000);
    std::uniform_real_distribution<double> length(600, 4000);
    const double scales[] = {1, 2, 3, 1.5};
    int checkedFrames = 0;
    for (int round = 0; round < 400; ++round) {
        const GridSize grid{cells(random), cells(random)};
        const Margins m{round % 5 != 0,
                        EdgeInsets{inset(random), inset(random), inset(random), inset(random)},
                        spacing(random), spacing(random)};
        const Rect vf{std::round(origin(random)), std::round(origin(random)), length(random),
                      length(random)};
        const double scale = scales[round % 4];
        const auto snap = [&](double v) { return std::round(v * scale) / scale; };
        const auto onPixelGrid = [&](double v) {
            return std::fabs(v * scale - std::round(v * scale)) < 1e-6;
        };
        const double hs = m.enabled ? m.horizontalSpacing : 0;
        const double vs = m.enabled ? m.verticalSpacing : 0;
        const EdgeInsets in = m.enabled ? m.screen : EdgeInsets::zero;
        for (std::int64_t c = 0; c < grid.columns; ++c) {
            for (std::int64_t r = 0; r < grid.rows; ++r) {
                const auto f = frame(CellSelection{c, r, c, r}, grid, vf, m, scale);
                if (!f) {
                    ASSERT_EQ(f.error(), LayoutError::marginsTooLarge);
                    continue;
                }
                ++checkedFrames;
                for (double edge : {f->minX(), f->maxX(), f->minY(), f->maxY()}) {
                    EXPECT_TRUE(onPixelGrid(edge)) << edge << " at scale " << scale;
                }
                if (c == 0) {
                    EXPECT_EQ(f->minX(), snap(vf.minX() + in.left));
                }
                if (r == 0) {
                    EXPECT_EQ(f->minY(), snap(vf.minY() + in.top));
                }
                const double usableWidth = vf.width() - in.left - in.right;
                const double usableHeight = vf.height() - in.top - in.bottom;
                if (c == grid.columns - 1) {
                    EXPECT_NEAR(f->maxX(), snap(vf.minX() + in.left + usableWidth), 1e-9);
                }
                if (r == grid.rows - 1) {
                    EXPECT_NEAR(f->maxY(), snap(vf.minY() + in.top + usableHeight), 1e-9);
                }
                if (c + 1 < grid.columns) {
                    const auto right = frame(CellSelection{c + 1, r, c + 1, r}, grid, vf, m, scale);
                    if (right) {
                        EXPECT_NEAR(right->minX() - f->maxX(), snap(hs), 1e-9);
                    }
                }
                if (r + 1 < grid.rows) {
                    const auto below = frame(CellSelection{c, r + 1, c, r + 1}, grid, vf, m, scale);
                    if (below) {
                        EXPECT_NEAR(below->minY() - f->maxY(), snap(vs), 1e-9);
                    }
                }
            }
        }
    }
    EXPECT_GT(checkedFrames, 10000) << "the generator should mostly produce usable layouts";
}

TEST(LayoutEngineTest, MultiCellSelectionSpansFromFirstStartToLastEnd) {
    std::mt19937_64 random{7};
    const GridSize grid{7, 5};
    const Rect vf{-1440, 22, 1440, 878};
    for (int i = 0; i < 200; ++i) {
        std::uniform_int_distribution<std::int64_t> column(0, 6), row(0, 4);
        const CellSelection s{column(random), row(random), column(random), row(random)};
        const auto whole = frame(s, grid, vf, kMargins, 2).value();
        const auto first =
            frame(CellSelection{s.startColumn(), s.startRow(), s.startColumn(), s.startRow()}, grid,
                  vf, kMargins, 2)
                .value();
        const auto last = frame(CellSelection{s.endColumn(), s.endRow(), s.endColumn(), s.endRow()},
                                grid, vf, kMargins, 2)
                              .value();
        EXPECT_EQ(whole.origin, first.origin);
        EXPECT_EQ(whole.maxX(), last.maxX());
        EXPECT_EQ(whole.maxY(), last.maxY());
    }
}

}  // namespace
}  // namespace tilewise

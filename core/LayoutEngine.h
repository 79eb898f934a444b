#pragma once

#include <expected>
#include <vector>

#include "core/Grid.h"
#include "core/Rect.h"

namespace tilewise {

/// Distances inward from the edges of a rectangle, in points.
struct EdgeInsets {
    double top = 0;
    double left = 0;
    double bottom = 0;
    double right = 0;

    static const EdgeInsets zero;

    bool operator==(const EdgeInsets&) const = default;
};

/// The user's margins: screen insets and the exact gaps between adjacent cells.
struct Margins {
    static constexpr double kLargestValue = 500;

    bool enabled = false;
    EdgeInsets screen;
    double horizontalSpacing = 0;
    double verticalSpacing = 0;

    static const Margins divvyDefault;

    /// True when all six numbers lie in 0…500, whether or not the margins are enabled.
    bool isValid() const;

    bool operator==(const Margins&) const = default;
};

/// Why no frame could be computed, in the order the checks run.
enum class LayoutError {
    invalidGrid,
    selectionOutsideGrid,
    invalidMargins,
    marginsTooLarge,
};

/// The positions of the lines drawn in the middle of the gaps between cells.
struct GridLines {
    std::vector<double> x;  ///< vertical lines between columns, left to right
    std::vector<double> y;  ///< horizontal lines between rows, top to bottom

    bool operator==(const GridLines&) const = default;
};

/// Turns a cell selection into a pixel-exact window frame. Works in the top-left space: row 0
/// lies at the visible frame's minY.
namespace LayoutEngine {

/// The frame of `selection` on `grid` laid over `visibleFrame`; every edge is snapped to the
/// display's pixels, and adjacent cells are exactly the snapped spacing apart.
std::expected<Rect, LayoutError> frame(const CellSelection& selection, GridSize grid,
                                       const Rect& visibleFrame, const Margins& margins,
                                       double backingScale);

/// The middle of every gap between adjacent columns and rows; fails as `frame` does.
std::expected<GridLines, LayoutError> gridLines(GridSize grid, const Rect& visibleFrame,
                                                const Margins& margins, double backingScale);

}  // namespace LayoutEngine

}  // namespace tilewise

TILEWISE_DECLARE_HASH(tilewise::EdgeInsets);
TILEWISE_DECLARE_HASH(tilewise::Margins);

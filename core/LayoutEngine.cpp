#include "core/LayoutEngine.h"

#include <cmath>

namespace tilewise {

const EdgeInsets EdgeInsets::zero{};
const Margins Margins::divvyDefault{false, EdgeInsets{10, 10, 10, 10}, 5, 5};

namespace {

bool inAllowedRange(double value) {
    return value >= 0 && value <= Margins::kLargestValue;
}

// One axis of the usable area: where it starts, how long it is, how many cells share it and
// the gap between them, and the pixel scale every edge snaps to.
struct Axis {
    double start;
    double length;
    std::int64_t cells;
    double spacing;
    double scale;

    // std::round rounds halves away from zero, which is the rule the pixel grid needs.
    double snap(double value) const { return std::round(value * scale) / scale; }

    double cellLength() const {
        return (length - spacing * static_cast<double>(cells - 1)) / static_cast<double>(cells);
    }

    double startOfCell(std::int64_t cell) const {
        return snap(start + static_cast<double>(cell) * (cellLength() + spacing));
    }

    // The last cell ends on the far edge; any other ends one snapped gap before the next
    // cell's start, so every inner gap is exactly the same number of pixels.
    double endOfCell(std::int64_t cell) const {
        if (cell == cells - 1) {
            return snap(start + length);
        }
        return startOfCell(cell + 1) - snap(spacing);
    }
};

}  // namespace

bool Margins::isValid() const {
    return inAllowedRange(screen.top) && inAllowedRange(screen.left) &&
           inAllowedRange(screen.bottom) && inAllowedRange(screen.right) &&
           inAllowedRange(horizontalSpacing) && inAllowedRange(verticalSpacing);
}

namespace LayoutEngine {

std::expected<Rect, LayoutError> frame(const CellSelection& selection, GridSize grid,
                                       const Rect& visibleFrame, const Margins& margins,
                                       double backingScale) {
    if (!grid.isValid()) {
        return std::unexpected(LayoutError::invalidGrid);
    }
    if (selection.startColumn() < 0 || selection.startRow() < 0 ||
        selection.endColumn() >= grid.columns || selection.endRow() >= grid.rows) {
        return std::unexpected(LayoutError::selectionOutsideGrid);
    }
    if (!margins.isValid()) {
        return std::unexpected(LayoutError::invalidMargins);
    }
    const double scale = std::isfinite(backingScale) && backingScale > 0 ? backingScale : 1;
    const EdgeInsets insets = margins.enabled ? margins.screen : EdgeInsets::zero;
    const double hs = margins.enabled ? margins.horizontalSpacing : 0;
    const double vs = margins.enabled ? margins.verticalSpacing : 0;

    const Axis horizontal{visibleFrame.minX() + insets.left,
                          visibleFrame.width() - insets.left - insets.right, grid.columns, hs,
                          scale};
    const Axis vertical{visibleFrame.minY() + insets.top,
                        visibleFrame.height() - insets.top - insets.bottom, grid.rows, vs, scale};
    // Negated comparisons so that a NaN anywhere also ends here.
    if (!(horizontal.length >= 1) || !(vertical.length >= 1)) {
        return std::unexpected(LayoutError::marginsTooLarge);
    }
    if (!(horizontal.cellLength() >= 1 && vertical.cellLength() >= 1)) {
        return std::unexpected(LayoutError::marginsTooLarge);
    }
    const double x = horizontal.startOfCell(selection.startColumn());
    const double xEnd = horizontal.endOfCell(selection.endColumn());
    const double y = vertical.startOfCell(selection.startRow());
    const double yEnd = vertical.endOfCell(selection.endRow());
    if (!(xEnd - x >= 1 && yEnd - y >= 1)) {
        return std::unexpected(LayoutError::marginsTooLarge);
    }
    return Rect{x, y, xEnd - x, yEnd - y};
}

std::expected<GridLines, LayoutError> gridLines(GridSize grid, const Rect& visibleFrame,
                                                const Margins& margins, double backingScale) {
    const auto cellFrame = [&](std::int64_t column, std::int64_t row) {
        return frame(CellSelection{column, row, column, row}, grid, visibleFrame, margins,
                     backingScale);
    };
    GridLines lines;
    for (std::int64_t k = 0; k + 1 < grid.columns; ++k) {
        const auto a = cellFrame(k, 0);
        const auto b = cellFrame(k + 1, 0);
        if (!a)
            return std::unexpected(a.error());
        if (!b)
            return std::unexpected(b.error());
        lines.x.push_back((a->maxX() + b->minX()) * 0.5);
    }
    for (std::int64_t k = 0; k + 1 < grid.rows; ++k) {
        const auto a = cellFrame(0, k);
        const auto b = cellFrame(0, k + 1);
        if (!a)
            return std::unexpected(a.error());
        if (!b)
            return std::unexpected(b.error());
        lines.y.push_back((a->maxY() + b->minY()) * 0.5);
    }
    return lines;
}

}  // namespace LayoutEngine
}  // namespace tilewise

using tilewise::hashFields;

std::size_t std::hash<tilewise::EdgeInsets>::operator()(
    const tilewise::EdgeInsets& v) const noexcept {
    return hashFields(v.top, v.left, v.bottom, v.right);
}
std::size_t std::hash<tilewise::Margins>::operator()(const tilewise::Margins& v) const noexcept {
    return hashFields(v.enabled, v.screen, v.horizontalSpacing, v.verticalSpacing);
}

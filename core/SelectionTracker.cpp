#include "core/SelectionTracker.h"

#include <cmath>

namespace tilewise {
namespace {

// Converting a NaN or out-of-range double to an integer is undefined behaviour, so the index
// is clamped while still a double and converted only once it is known to fit.
std::int64_t clampedIndex(double fraction, std::int64_t count) {
    const double raw = std::floor(fraction * static_cast<double>(count));
    const double atLeastZero = std::isnan(raw) ? 0.0 : std::fmax(0.0, raw);
    const std::int64_t last = count - 1;
    if (atLeastZero >= static_cast<double>(last)) {
        return last;
    }
    return static_cast<std::int64_t>(atLeastZero);
}

}  // namespace

std::optional<CellSelection> SelectionTracker::selection() const {
    if (!anchor_ || !current_) {
        return std::nullopt;
    }
    return CellSelection{*anchor_, *current_};
}

void SelectionTracker::begin(GridCell cell) {
    anchor_ = grid_.clamp(cell);
    current_ = anchor_;
}

bool SelectionTracker::move(GridCell cell) {
    if (!isDragging()) {
        return false;
    }
    const GridCell clamped = grid_.clamp(cell);
    if (clamped == current_) {
        return false;
    }
    current_ = clamped;
    return true;
}

std::optional<CellSelection> SelectionTracker::end() {
    auto taken = selection();
    cancel();
    return taken;
}

void SelectionTracker::cancel() {
    anchor_.reset();
    current_.reset();
}

void SelectionTracker::resize(GridSize grid) {
    grid_ = grid;
    cancel();
}

GridCell SelectionTracker::cell(Point point, const Rect& rect, GridSize grid, bool rowsFromTop) {
    const double width = rect.width() > 1 ? rect.width() : 1;
    const double height = rect.height() > 1 ? rect.height() : 1;
    const double fx = (point.x - rect.minX()) / width;
    double fy = (point.y - rect.minY()) / height;
    if (!rowsFromTop) {
        fy = 1 - fy;
    }
    return {clampedIndex(fx, grid.columns), clampedIndex(fy, grid.rows)};
}

}  // namespace tilewise

std::size_t std::hash<tilewise::SelectionTracker>::operator()(
    const tilewise::SelectionTracker& v) const noexcept {
    return tilewise::hashFields(v.grid(), v.anchor(), v.current());
}

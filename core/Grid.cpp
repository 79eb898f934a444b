#include "core/Grid.h"

#include <algorithm>

namespace tilewise {

bool GridSize::isValid() const {
    return columns >= minimum && columns <= maximum && rows >= minimum && rows <= maximum;
}

GridCell GridSize::clamp(GridCell cell) const {
    return {std::min(columns - 1, std::max<std::int64_t>(0, cell.column)),
            std::min(rows - 1, std::max<std::int64_t>(0, cell.row))};
}

CellSelection::CellSelection(std::int64_t startColumn, std::int64_t startRow,
                             std::int64_t endColumn, std::int64_t endRow)
    : startColumn_(std::min(startColumn, endColumn)),
      startRow_(std::min(startRow, endRow)),
      endColumn_(std::max(startColumn, endColumn)),
      endRow_(std::max(startRow, endRow)) {}

CellSelection::CellSelection(GridCell from, GridCell to)
    : CellSelection(from.column, from.row, to.column, to.row) {}

CellSelection CellSelection::full(GridSize grid) {
    return {0, 0, grid.columns - 1, grid.rows - 1};
}

bool CellSelection::isValid(GridSize grid) const {
    return grid.isValid() && startColumn_ >= 0 && startRow_ >= 0 && endColumn_ < grid.columns &&
           endRow_ < grid.rows;
}

NormalizedRect CellSelection::normalized(GridSize grid) const {
    const auto columns = static_cast<double>(grid.columns);
    const auto rows = static_cast<double>(grid.rows);
    return {static_cast<double>(startColumn_) / columns, static_cast<double>(startRow_) / rows,
            static_cast<double>(endColumn_ + 1) / columns, static_cast<double>(endRow_ + 1) / rows};
}

}  // namespace tilewise

using tilewise::hashFields;

std::size_t std::hash<tilewise::GridCell>::operator()(const tilewise::GridCell& v) const noexcept {
    return hashFields(v.column, v.row);
}
std::size_t std::hash<tilewise::GridSize>::operator()(const tilewise::GridSize& v) const noexcept {
    return hashFields(v.columns, v.rows);
}
std::size_t std::hash<tilewise::NormalizedRect>::operator()(
    const tilewise::NormalizedRect& v) const noexcept {
    return hashFields(v.minX, v.minY, v.maxX, v.maxY);
}
std::size_t std::hash<tilewise::CellSelection>::operator()(
    const tilewise::CellSelection& v) const noexcept {
    return hashFields(v.startColumn(), v.startRow(), v.endColumn(), v.endRow());
}

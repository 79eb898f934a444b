#pragma once

#include <cstdint>

#include "core/Hashing.h"

namespace tilewise {

/// One cell of a grid; row 0 is the top row, column 0 the leftmost.
struct GridCell {
    std::int64_t column = 0;
    std::int64_t row = 0;

    bool operator==(const GridCell&) const = default;
};

/// The dimensions of a grid. Any pair of integers is a value; consumers ask `isValid`.
struct GridSize {
    static constexpr std::int64_t minimum = 1;
    static constexpr std::int64_t maximum = 30;

    std::int64_t columns = 0;
    std::int64_t rows = 0;

    /// True when both dimensions lie in minimum…maximum.
    bool isValid() const;
    /// The cell moved into the grid, each index clamped lower bound first.
    GridCell clamp(GridCell cell) const;

    bool operator==(const GridSize&) const = default;
};

/// A selection as fractions (0…1) of its grid; y grows downwards.
struct NormalizedRect {
    double minX = 0;
    double minY = 0;
    double maxX = 0;
    double maxY = 0;

    bool operator==(const NormalizedRect&) const = default;
};

/// An inclusive rectangular block of cells. Every constructor normalises, so start ≤ end on
/// both axes always holds.
class CellSelection {
  public:
    CellSelection(std::int64_t startColumn, std::int64_t startRow, std::int64_t endColumn,
                  std::int64_t endRow);
    /// The block spanned by two corner cells given in any order.
    CellSelection(GridCell from, GridCell to);

    /// Every cell of the grid.
    static CellSelection full(GridSize grid);

    std::int64_t startColumn() const { return startColumn_; }
    std::int64_t startRow() const { return startRow_; }
    std::int64_t endColumn() const { return endColumn_; }
    std::int64_t endRow() const { return endRow_; }

    std::int64_t columnCount() const { return endColumn_ - startColumn_ + 1; }
    std::int64_t rowCount() const { return endRow_ - startRow_ + 1; }

    /// True when the grid is valid and the block lies inside it.
    bool isValid(GridSize grid) const;
    NormalizedRect normalized(GridSize grid) const;

    bool operator==(const CellSelection&) const = default;

  private:
    std::int64_t startColumn_;
    std::int64_t startRow_;
    std::int64_t endColumn_;
    std::int64_t endRow_;
};

}  // namespace tilewise

TILEWISE_DECLARE_HASH(tilewise::GridCell);
TILEWISE_DECLARE_HASH(tilewise::GridSize);
TILEWISE_DECLARE_HASH(tilewise::NormalizedRect);
TILEWISE_DECLARE_HASH(tilewise::CellSelection);

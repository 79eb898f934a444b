#pragma once

#include <optional>

#include "core/Grid.h"
#include "core/Rect.h"

namespace tilewise {

/// The state of one pointer drag across a grid: idle, or dragging from `anchor` to `current`.
class SelectionTracker {
  public:
    explicit SelectionTracker(GridSize grid) : grid_(grid) {}

    GridSize grid() const { return grid_; }
    std::optional<GridCell> anchor() const { return anchor_; }
    std::optional<GridCell> current() const { return current_; }

    /// The block spanned by anchor and current; absent while idle.
    std::optional<CellSelection> selection() const;
    bool isDragging() const { return anchor_.has_value(); }

    /// Starts (or restarts) a drag at the clamped cell.
    void begin(GridCell cell);
    /// Moves the drag's end to the clamped cell; true only when that changed the selection.
    bool move(GridCell cell);
    /// Finishes the drag and returns its selection (absent when idle).
    std::optional<CellSelection> end();
    void cancel();
    /// Switches to another grid and abandons any drag.
    void resize(GridSize grid);

    /// The cell under `point` in a view showing `grid` over `rect`. `rowsFromTop` is true for
    /// views whose y axis grows downwards. Never fails: non-finite input lands on some cell.
    static GridCell cell(Point point, const Rect& rect, GridSize grid, bool rowsFromTop);

    bool operator==(const SelectionTracker&) const = default;

  private:
    GridSize grid_;
    std::optional<GridCell> anchor_;
    std::optional<GridCell> current_;
};

}  // namespace tilewise

TILEWISE_DECLARE_HASH(tilewise::SelectionTracker);

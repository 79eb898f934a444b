#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "core/Displays.h"
#include "core/Grid.h"
#include "core/LayoutEngine.h"

namespace tilewise {

/// The grid drawn over a whole display, with the resize preview and, when interactive, the
/// drag surface that selects cells on the display itself.
class GridOverlay {
  public:
    /// A native window of our own (an X window id) that the overlay stays directly below.
    using WindowId = std::uint64_t;

    GridOverlay() = default;
    GridOverlay(const GridOverlay&) = delete;
    GridOverlay& operator=(const GridOverlay&) = delete;
    virtual ~GridOverlay() = default;

    std::function<void(std::optional<CellSelection>)> onSelectionChanged;
    std::function<void(CellSelection)> onCommit;

    /// Covers `display`, draws the grid of `grid` with `margins` over its usable area (no lines
    /// when the layout engine rejects them), and takes drags on the display when `interactive`.
    /// Without `below` it floats above other windows; with it, directly below that window.
    virtual void showGrid(const DisplayInfo& display, GridSize grid, const Margins& margins,
                          std::optional<WindowId> below, bool interactive) = 0;
    /// Shows the preview at `frame` (top-left space) or hides it when absent.
    virtual void setSelection(std::optional<Rect> frame) = 0;
    /// Ends any drag on the display (reporting no selection) and takes the overlay away.
    virtual void hide() = 0;
    /// Puts the shown, floating overlay back above other windows (but below the panel, which
    /// is raised after it).
    virtual void raise() = 0;
    virtual bool isVisible() const = 0;
};

}  // namespace tilewise

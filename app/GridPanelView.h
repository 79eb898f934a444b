#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/Grid.h"
#include "core/KeyCombo.h"
#include "core/Rect.h"
#include "platform/Image.h"
#include "platform/Scheduler.h"

namespace tilewise {

/// A key the panel received, as the window system reported it.
struct PanelKeyPress {
    std::uint32_t nativeScanCode = 0;
    Modifiers modifiers;
    /// What the key types without modifiers, e.g. "," (UTF-8; empty for keys that type nothing).
    std::string charactersIgnoringModifiers;
};

/// The panel's buttons, named after their actions.
enum class PanelButton { fewerColumns, moreColumns, fewerRows, moreRows, openPreferences, close };

/// The grid panel's window with its header, miniature grid and controls row, as the
/// `GridPanelController` drives it. The view reports through the callbacks and decides nothing.
class GridPanelView {
  public:
    GridPanelView() = default;
    GridPanelView(const GridPanelView&) = delete;
    GridPanelView& operator=(const GridPanelView&) = delete;
    virtual ~GridPanelView() = default;

    std::function<void()> onCancel;                       ///< Escape
    std::function<bool(const PanelKeyPress&)> onKeyDown;  ///< true = handled
    std::function<void(PanelButton)> onButton;
    std::function<void(std::optional<CellSelection>)> onSelectionChanged;  ///< the miniature's
    std::function<void(CellSelection)> onCommit;                           ///< the miniature's

    /// The grid shown by the miniature.
    virtual GridSize grid() const = 0;
    /// Shows `grid` in the miniature and the size label, dropping any drag without a report.
    virtual void setGrid(GridSize grid) = 0;
    virtual bool isDragging() const = 0;
    /// Abandons the drag in progress without a report, and redraws.
    virtual void cancelDrag() = 0;
    /// The miniature's height in points (its width is fixed).
    virtual void setGridHeight(double height) = 0;

    /// The header: the target application's name in the label colour, or a message in the
    /// secondary colour.
    virtual void setTitle(const std::string& text, bool isMessage) = 0;
    /// The header's icon; null shows the warning symbol.
    virtual void setIcon(std::shared_ptr<const Image> icon) = 0;

    /// Lays the content out, centres the window on `visibleFrame` (top-left space), makes it
    /// opaque and shows it in front, taking the keyboard without activating it.
    virtual void present(const Rect& visibleFrame) = 0;
    virtual bool isVisible() const = 0;
    /// Brings the shown window back in front of every other window.
    virtual void raise() = 0;
    /// Starts fading the window out over `duration`; the controller ends the fade.
    virtual void startFade(Scheduler::Duration duration) = 0;
    /// Hides the window at once and makes it opaque again for the next showing.
    virtual void orderOut() = 0;
};

}  // namespace tilewise

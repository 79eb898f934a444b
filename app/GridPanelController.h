#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/GridPanelView.h"
#include "core/Displays.h"
#include "core/KeyCombo.h"
#include "platform/Platform.h"
#include "platform/Scheduler.h"
#include "platform/Screens.h"

namespace tilewise {

/// Shows and dismisses the grid panel and turns its keys, buttons and drags into callbacks.
/// It never touches other applications: its owner sets what it shows and acts on what it
/// reports. Main thread only.
class GridPanelController {
  public:
    static constexpr double kGridWidth = 300;
    static constexpr double kMinimumGridHeight = 110;
    static constexpr double kMaximumGridHeight = 260;
    static constexpr Scheduler::Duration kFadeDuration{100};

    GridPanelController(GridPanelView& view, Scheduler& mainQueue, Platform& platform);
    GridPanelController(const GridPanelController&) = delete;
    GridPanelController& operator=(const GridPanelController&) = delete;
    ~GridPanelController();

    std::function<void(std::optional<CellSelection>)> onSelectionChanged;
    std::function<void(CellSelection)> onCommit;
    std::function<void()> onDismiss;
    /// Every key the panel does not handle itself; true = handled.
    std::function<bool(const KeyCombo&)> onKey;
    std::function<void(GridSize)> onGridSizeChange;
    std::function<void()> onOpenPreferences;

    /// Kept for the owner, which decides whether a commit closes the panel.
    bool keepOpen = false;
    bool fadesOut = true;
    /// The shortcut that opened the panel: while the panel holds the keyboard the global
    /// registration cannot fire, so the panel closes on it itself.
    std::optional<KeyCombo> panelShortcut;

    /// Shows the panel centred on `screen`'s usable area with `grid`; `space` converts the
    /// screen's frames into the top-left space.
    void show(const Screen& screen, GridSize grid, const CoordinateSpace& space);
    /// Hides the panel, faded or at once; nothing when hidden or already dismissing.
    void dismiss();
    /// Replaces the grid shown, dropping any drag.
    void setGrid(GridSize grid);
    /// Shows a message instead of an application's name, with the warning symbol.
    void setMessage(const std::string& message);
    /// Names the target application in the header, with its icon (null for none).
    void showTarget(const std::string& appName, std::shared_ptr<const Image> icon);
    /// Puts the shown panel back in front, e.g. above a newly shown overlay.
    void raise();
    /// The system beep, for a request the panel cannot carry out.
    void beep() { platform_.workspace().beep(); }

    GridSize grid() const { return view_.grid(); }
    bool isVisible() const { return view_.isVisible(); }
    bool isDismissing() const { return isDismissing_; }
    /// Visible and not dismissing.
    bool isOpen() const { return isVisible() && !isDismissing_; }
    std::int64_t fadeGeneration() const { return fadeGeneration_; }

    /// The miniature's height for a usable area: its aspect ratio at a width of 300 points,
    /// rounded, then clamped to 110…260.
    static double gridHeight(const Rect& visibleFrame);

  private:
    bool handleKey(const PanelKeyPress& key);
    void buttonPressed(PanelButton button);
    void changeGrid(std::int64_t columns, std::int64_t rows);
    void openPreferences();
    void finishDismissal();

    GridPanelView& view_;
    Scheduler& mainQueue_;
    Platform& platform_;
    std::int64_t fadeGeneration_ = 0;
    bool isDismissing_ = false;
    std::shared_ptr<int> lifetime_ = std::make_shared<int>();
};

}  // namespace tilewise

#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "app/DisplayProvider.h"
#include "app/PlacementOutcome.h"
#include "app/WindowController.h"
#include "core/CyclingTracker.h"
#include "core/Grid.h"
#include "core/Settings.h"
#include "core/Uuid.h"

namespace tilewise {

/// A block of cells to put a window on. A saved layout's id makes the placement count for
/// display cycling; `display` overrides the settings' panel placement.
struct PlacementRequest {
    CellSelection selection;
    GridSize grid;
    std::optional<Uuid> layoutID;
    std::optional<PanelPlacement> display;
};

/// The one way a window is placed on cells: by a shortcut, the status menu, the panel, the
/// running instance's socket and the command line alike. Asynchronous: completions run on the
/// main thread, once per request while the placement exists; the settings are read when the
/// window has been captured.
class WindowPlacement {
  public:
    using Completion = std::function<void(PlacementOutcome)>;
    using SettingsSource = std::function<TilewiseSettings()>;

    WindowPlacement(WindowController& windows, DisplayProvider& displays, CyclingTracker& cycling,
                    SettingsSource settings);

    /// Captures the frontmost application's focused window and places it on the display under
    /// the pointer (taken now) or the one holding the window, replaced by the next display when
    /// the same layout is applied again to the same window with cycling on.
    void placeFrontmost(const PlacementRequest& request, Completion completion);
    /// Places an already captured window on `display` as it is (the open panel's way: no
    /// cycling). A request without a layout id clears the cycling record once it succeeds.
    void place(const PlacementRequest& request, const WindowTarget& target,
               const DisplayInfo& display, Completion completion);

  private:
    void placeCaptured(const PlacementRequest& request,
                       const std::optional<DisplayInfo>& underMouse, const WindowTarget& target,
                       Completion completion);
    void record(const PlacementRequest& request, const WindowTarget& target,
                const DisplayInfo& display, const ApplyResult& result);

    WindowController& windows_;
    DisplayProvider& displays_;
    CyclingTracker& cycling_;
    SettingsSource settings_;
    // Completions can arrive after the placement is gone; they check this first.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace tilewise

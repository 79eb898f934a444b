#pragma once

#include <optional>

#include "app/WindowTarget.h"
#include "core/Displays.h"

namespace tilewise {

/// The grid panel as the coordinator's other flows see it: layouts go to the open panel's
/// window, display changes close it, the panel shortcut and "Show Grid" open it. The panel
/// flow plugs itself in with `AppCoordinator::setGridPanel`.
class GridPanelFlow {
  public:
    GridPanelFlow() = default;
    GridPanelFlow(const GridPanelFlow&) = delete;
    GridPanelFlow& operator=(const GridPanelFlow&) = delete;
    virtual ~GridPanelFlow() = default;

    /// Visible and not fading out.
    virtual bool isOpen() const = 0;
    /// The window the open panel places; absent when none was found.
    virtual std::optional<WindowTarget> target() const = 0;
    /// The display the open panel works on.
    virtual std::optional<DisplayInfo> display() const = 0;

    /// Opens the panel for the frontmost window.
    virtual void show() = 0;
    virtual void dismiss() = 0;
    virtual void setOptions(bool keepOpen, bool fadesOut) = 0;
    /// Another application became active while the panel is open.
    virtual void applicationActivated() = 0;
};

}  // namespace tilewise

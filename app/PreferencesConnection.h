#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "app/PreferencesContext.h"
#include "app/PreferencesWindow.h"
#include "core/Displays.h"

namespace tilewise {

class AppCoordinator;
class PanelPlatform;

/// Connects the preferences window to the running application: the services and statuses it
/// shows, the actions it calls, and the grid preview drawn below the window while its Grid tab
/// is shown and it is the active window.
class PreferencesConnection {
  public:
    /// Draws the preview of the whole grid on a display below the given native window, or hides
    /// it (no display).
    using ShowPreview = std::function<void(std::optional<DisplayInfo>, std::uintptr_t below)>;

    PreferencesConnection(AppCoordinator& app, PanelPlatform& panelPlatform);
    PreferencesConnection(const PreferencesConnection&) = delete;
    PreferencesConnection& operator=(const PreferencesConnection&) = delete;

    PreferencesContext& context() { return context_; }
    /// The window whose state decides the preview; it must outlive this object.
    void setWindow(const PreferencesWindow* window) { window_ = window; }
    /// Where the preview goes; until it is set nothing is drawn.
    void setShowPreview(ShowPreview showPreview) { showPreview_ = std::move(showPreview); }
    /// Shows or hides the preview after any change of the tab or of the window's state.
    void updatePreview();

    /// The display to draw the preview on: the one holding the window's frame, while the Grid
    /// tab is shown and the window is active; else none.
    static std::optional<DisplayInfo> previewDisplay(
        bool gridTabSelected, const std::optional<PreferencesWindow::Placement>& window,
        const std::vector<DisplayInfo>& displays);

  private:
    AppCoordinator& app_;
    PreferencesContext context_;
    const PreferencesWindow* window_ = nullptr;
    ShowPreview showPreview_;
};

}  // namespace tilewise

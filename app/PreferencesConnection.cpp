#include "app/PreferencesConnection.h"

#include "app/AppCoordinator.h"

namespace tilewise {

PreferencesConnection::PreferencesConnection(AppCoordinator& app, PanelPlatform& panelPlatform)
    : app_(app),
      context_{
          .store = app.store(),
          .permission = app.permission(),
          .loginItem = app.platform().loginItem(),
          .keyboardLayout = app.platform().keyboardLayout(),
          .texts = app.platform().texts(),
          .userDefaults = app.platform().userDefaults(),
          .virtualKeyCode =
              [&panelPlatform](std::uint32_t nativeScanCode) {
                  return panelPlatform.virtualKeyCode(nativeScanCode);
              },
          .statuses =
              [&app] {
                  return ShortcutStatuses{.layoutStatus = app.layoutStatus(),
                                          .panelShortcutStatus = app.panelShortcutStatus()};
              },
          .observeStatuses =
              [&app](std::function<void()> observer) { return app.observe(std::move(observer)); },
          .showOnboarding = [&app] { app.showOnboarding(); },
          .importFromDivvy = [&app] { app.importFromDivvy(true); },
          .gridTabChanged = [this](bool) { updatePreview(); },
          .windowStateChanged = [this] { updatePreview(); },
      } {}

void PreferencesConnection::updatePreview() {
    if (!showPreview_)
        return;
    const auto placement = window_ ? window_->activePlacement() : std::nullopt;
    const auto display = previewDisplay(window_ && window_->isGridTabSelected(), placement,
                                        app_.displays().displays());
    showPreview_(display, display ? placement->nativeWindow : 0);
}

std::optional<DisplayInfo> PreferencesConnection::previewDisplay(
    bool gridTabSelected, const std::optional<PreferencesWindow::Placement>& window,
    const std::vector<DisplayInfo>& displays) {
    if (!gridTabSelected || !window)
        return std::nullopt;
    return DisplayTopology::displayContaining(window->frame, displays);
}

}  // namespace tilewise

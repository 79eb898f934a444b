#pragma once

#include "platform/Platform.h"
#include "platform/sim/SimAccessibility.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimHotKeys.h"
#include "platform/sim/SimKeyboardLayout.h"
#include "platform/sim/SimLoginItem.h"
#include "platform/sim/SimPanelPlatform.h"
#include "platform/sim/SimScreens.h"
#include "platform/sim/SimUserDefaults.h"
#include "platform/sim/SimWorkspace.h"

namespace tilewise::sim {

/// The whole simulated desktop behind the platform interfaces; its parts are public so that
/// tests and the demo can script them.
class SimPlatform final : public Platform {
  public:
    /// `scheduler` runs the workspace's deferred notifications (the main thread's scheduler).
    SimPlatform(Scheduler& scheduler, std::vector<SimDisplay> displays)
        : screensService(std::move(displays)), workspaceService(desktop, scheduler) {}

    Accessibility& accessibility() override { return accessibilityService; }
    Workspace& workspace() override { return workspaceService; }
    Screens& screens() override { return screensService; }
    HotKeys& hotKeys() override { return hotKeysService; }
    KeyboardLayout& keyboardLayout() override { return keyboard; }
    UserDefaults& userDefaults() override { return defaults; }
    LoginItem& loginItem() override { return login; }
    const PlatformTexts& texts() override { return PlatformTexts::forBackend("sim"); }
    PanelPlatform& panelPlatform() override { return panel; }

    SimDesktop desktop;
    SimAccessibility accessibilityService{desktop};
    SimScreens screensService;
    SimWorkspace workspaceService;
    SimHotKeys hotKeysService;
    SimKeyboardLayout keyboard;
    SimUserDefaults defaults;
    SimLoginItem login;
    SimPanelPlatform panel;
};

}  // namespace tilewise::sim

#pragma once

#include "platform/Accessibility.h"
#include "platform/HotKeys.h"
#include "platform/KeyboardLayout.h"
#include "platform/LoginItem.h"
#include "platform/PanelPlatform.h"
#include "platform/PlatformTexts.h"
#include "platform/Screens.h"
#include "platform/UserDefaults.h"
#include "platform/Workspace.h"

namespace tilewise {

/// One backend's whole set of operating-system services, chosen once at start-up
/// (`--platform=x11|sim`). The services it returns live as long as the platform object.
class Platform {
  public:
    Platform() = default;
    Platform(const Platform&) = delete;
    Platform& operator=(const Platform&) = delete;
    virtual ~Platform() = default;

    virtual Accessibility& accessibility() = 0;
    virtual Workspace& workspace() = 0;
    virtual Screens& screens() = 0;
    virtual HotKeys& hotKeys() = 0;
    virtual KeyboardLayout& keyboardLayout() = 0;
    virtual UserDefaults& userDefaults() = 0;
    virtual LoginItem& loginItem() = 0;
    /// How this system words the application's texts.
    virtual const PlatformTexts& texts() = 0;
    virtual PanelPlatform& panelPlatform() = 0;
};

}  // namespace tilewise

#pragma once

#include <expected>
#include <memory>
#include <string>

#include "platform/Platform.h"
#include "platform/Scheduler.h"
#include "platform/x11/Atoms.h"
#include "platform/x11/X11Accessibility.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11EventLoop.h"
#include "platform/x11/X11HotKeys.h"
#include "platform/x11/X11KeyboardLayout.h"
#include "platform/x11/X11PanelPlatform.h"
#include "platform/x11/X11Screens.h"
#include "platform/x11/X11UserDefaults.h"
#include "platform/x11/X11Workspace.h"
#include "platform/x11/XdgLoginItem.h"

namespace tilewise::x11 {

/// The real desktop: the X server named by DISPLAY and its window manager. Workspace and
/// screens share one connection whose events the main queue's loop delivers; Accessibility (used by
/// the window controller's worker) has its own; hot keys and the keyboard layout open theirs on
/// first use.
class X11Platform final : public Platform {
  public:
    /// Connects to the display; the sentence on failure. `mainQueue` runs on this thread.
    static std::expected<std::unique_ptr<X11Platform>, std::string> open(Scheduler& mainQueue);

    Accessibility& accessibility() override { return accessibility_; }
    Workspace& workspace() override { return workspace_; }
    Screens& screens() override { return screens_; }
    HotKeys& hotKeys() override;
    KeyboardLayout& keyboardLayout() override;
    UserDefaults& userDefaults() override { return defaults_; }
    LoginItem& loginItem() override { return login_; }
    const PlatformTexts& texts() override { return PlatformTexts::forBackend("x11"); }
    PanelPlatform& panelPlatform() override { return panel_; }

  private:
    X11Platform(X11Connection main, X11Connection worker, Scheduler& mainQueue);

    X11Connection main_;
    Atoms atoms_;
    X11EventLoop events_;
    X11Accessibility accessibility_;
    X11Workspace workspace_;
    X11Screens screens_;
    Scheduler& mainQueue_;
    // Only the resident application uses these: a one-off command never opens their connections.
    std::unique_ptr<X11HotKeys> hotKeys_;
    std::unique_ptr<X11KeyboardLayout> keyboard_;
    X11UserDefaults defaults_;
    XdgLoginItem login_;
    X11PanelPlatform panel_;
};

}  // namespace tilewise::x11

#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>

#include "app/HotKeyService.h"
#include "core/Uuid.h"
#include "platform/PlatformTexts.h"
#include "platform/Publisher.h"

namespace tilewise {

class AccessibilityPermission;
class KeyboardLayout;
class LoginItem;
class SettingsStore;
class UserDefaults;

/// The coordinator's published registration outcomes that the preferences show under the
/// shortcuts.
struct ShortcutStatuses {
    std::map<Uuid, HotKeyService::Status> layoutStatus;
    std::optional<HotKeyService::Status> panelShortcutStatus;

    bool operator==(const ShortcutStatuses&) const = default;
};

/// Everything the preferences window reads, follows and calls besides its own widgets. The
/// coordinator fills it in; every callback may be left empty (it then does nothing). The
/// references outlive the window.
struct PreferencesContext {
    SettingsStore& store;
    AccessibilityPermission& permission;
    LoginItem& loginItem;
    KeyboardLayout& keyboardLayout;
    /// How this system words shortcuts (Ctrl, Alt… on Linux).
    const PlatformTexts& texts;
    /// Where Divvy's saved shortcuts are looked for.
    UserDefaults& userDefaults;
    /// The key position (a virtual key code) of a key press the toolkit reports with this
    /// native scan code; absent for a key without one.
    std::function<std::optional<std::uint16_t>(std::uint32_t nativeScanCode)> virtualKeyCode;

    /// The current statuses.
    std::function<ShortcutStatuses()> statuses;
    /// Calls the observer after every change of the statuses while the subscription lives.
    std::function<Subscription(std::function<void()>)> observeStatuses;

    /// Opens the onboarding window that asks for the permission.
    std::function<void()> showOnboarding;
    /// Imports Divvy's shortcuts after asking the user.
    std::function<void()> importFromDivvy;
    /// The user switched tabs: whether the Grid tab is now shown.
    std::function<void(bool gridTabSelected)> gridTabChanged;
    /// The window became or stopped being the active window, moved to another screen, or
    /// closed (then one event-loop turn later).
    std::function<void()> windowStateChanged;
};

}  // namespace tilewise

#pragma once

#include <expected>
#include <optional>
#include <string>
#include <string_view>

#include "platform/LoginItem.h"

namespace tilewise {

/// Starting Tilewise when the user logs in, through the platform's login item.
namespace LaunchAtLogin {

/// Shown when the desktop holds the item back until the user approves it. Both sentences name
/// macOS's parts; `PlatformTexts` words them for the system shown on.
inline constexpr std::string_view kApprovalSentence =
    "Approve Tilewise in System Settings › General › Login Items.";
/// Follows the system's reason when the item cannot be changed.
inline constexpr std::string_view kFailureHint =
    "Tilewise must be in /Applications to launch at login.";

/// Registers (enabled) or unregisters the item; does nothing when it is already so. On failure
/// the platform's error.
std::expected<void, std::string> set(LoginItem& item, bool enabled);

/// What the preferences show for the login item: the switch's real position and the sentence
/// under it, if any.
struct SwitchState {
    bool enabled = false;
    std::optional<std::string> message;

    bool operator==(const SwitchState&) const = default;
};

/// The state as the item reports it now.
SwitchState currentState(LoginItem& item);

/// Changes the item and reports its real state afterwards; a failure becomes
/// "Couldn't change the login item: " with the error and the hint.
SwitchState change(LoginItem& item, bool enabled);

}  // namespace LaunchAtLogin
}  // namespace tilewise

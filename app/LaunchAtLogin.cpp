#include "app/LaunchAtLogin.h"

namespace tilewise::LaunchAtLogin {

std::expected<void, std::string> set(LoginItem& item, bool enabled) {
    const auto status = item.status();
    if (enabled)
        return status == LoginItemStatus::enabled ? std::expected<void, std::string>{}
                                                  : item.registerItem();
    if (status == LoginItemStatus::enabled || status == LoginItemStatus::requiresApproval)
        return item.unregisterItem();
    return {};
}

SwitchState currentState(LoginItem& item) {
    const auto status = item.status();
    SwitchState state{.enabled = status == LoginItemStatus::enabled, .message = std::nullopt};
    if (status == LoginItemStatus::requiresApproval)
        state.message = std::string{kApprovalSentence};
    return state;
}

SwitchState change(LoginItem& item, bool enabled) {
    const auto result = set(item, enabled);
    auto state = currentState(item);
    if (!result) {
        state.message =
            "Couldn't change the login item: " + result.error() + " " + std::string{kFailureHint};
    }
    return state;
}

}  // namespace tilewise::LaunchAtLogin

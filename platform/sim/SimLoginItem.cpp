#include "platform/sim/SimLoginItem.h"

#include <utility>

namespace tilewise::sim {

std::optional<std::string> SimLoginItem::takeFailure() {
    return std::exchange(failure_, std::nullopt);
}

std::expected<void, std::string> SimLoginItem::registerItem() {
    if (auto failure = takeFailure()) {
        return std::unexpected(std::move(*failure));
    }
    status_ = requiresApproval_ ? LoginItemStatus::requiresApproval : LoginItemStatus::enabled;
    return {};
}

std::expected<void, std::string> SimLoginItem::unregisterItem() {
    if (auto failure = takeFailure()) {
        return std::unexpected(std::move(*failure));
    }
    status_ = LoginItemStatus::notRegistered;
    return {};
}

}  // namespace tilewise::sim

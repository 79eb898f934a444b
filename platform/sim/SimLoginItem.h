#pragma once

#include <optional>
#include <string>

#include "platform/LoginItem.h"

namespace tilewise::sim {

/// A login item held in memory. Registering may be set to need the user's approval, and the
/// next change may be made to fail with a given description.
class SimLoginItem final : public LoginItem {
  public:
    LoginItemStatus status() override { return status_; }
    std::expected<void, std::string> registerItem() override;
    std::expected<void, std::string> unregisterItem() override;

    void setRequiresApproval(bool needed) { requiresApproval_ = needed; }
    void failNextChange(std::string description) { failure_ = std::move(description); }

  private:
    std::optional<std::string> takeFailure();

    LoginItemStatus status_ = LoginItemStatus::notRegistered;
    bool requiresApproval_ = false;
    std::optional<std::string> failure_;
};

}  // namespace tilewise::sim

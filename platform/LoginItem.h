#pragma once

#include <expected>
#include <string>

namespace tilewise {

enum class LoginItemStatus { notRegistered, enabled, requiresApproval, notFound };

/// Starting the application at login (the main application's Service Management item; on
/// Linux an XDG autostart entry). Main thread only.
class LoginItem {
  public:
    LoginItem() = default;
    LoginItem(const LoginItem&) = delete;
    LoginItem& operator=(const LoginItem&) = delete;
    virtual ~LoginItem() = default;

    /// The item's current status; notFound when it cannot be determined.
    virtual LoginItemStatus status() = 0;
    /// Registers the item; on failure the platform's error as a user-readable description.
    virtual std::expected<void, std::string> registerItem() = 0;
    /// Unregisters the item; on failure the platform's error as a user-readable description.
    virtual std::expected<void, std::string> unregisterItem() = 0;
};

}  // namespace tilewise

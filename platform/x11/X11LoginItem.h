#pragma once

#include <filesystem>

#include "platform/LoginItem.h"

namespace tilewise::x11 {

/// Starting at login through an XDG autostart entry, tilewise.desktop in
/// $XDG_CONFIG_HOME/autostart (~/.config/autostart), which runs this executable.
class X11LoginItem final : public LoginItem {
  public:
    X11LoginItem();
    explicit X11LoginItem(std::filesystem::path entry) : entry_(std::move(entry)) {}

    LoginItemStatus status() override;
    std::expected<void, std::string> registerItem() override;
    std::expected<void, std::string> unregisterItem() override;

  private:
    std::filesystem::path entry_;
};

}  // namespace tilewise::x11

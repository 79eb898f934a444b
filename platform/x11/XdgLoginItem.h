#pragma once

#include <filesystem>

#include "platform/LoginItem.h"

namespace tilewise::x11 {

/// Starting at login on a Linux desktop: an XDG autostart entry that runs the executable. An
/// entry the desktop has switched off (Hidden, or GNOME's X-GNOME-Autostart-enabled=false)
/// counts as not registered, and registering again switches it back on. Main thread only.
class XdgLoginItem final : public LoginItem {
  public:
    /// $XDG_CONFIG_HOME/autostart/<application id>.desktop (~/.config when the variable is
    /// unset), the installed desktop entry's name.
    static std::filesystem::path standardEntryFile();

    explicit XdgLoginItem(std::filesystem::path executable,
                          std::filesystem::path entryFile = standardEntryFile());

    LoginItemStatus status() override;
    std::expected<void, std::string> registerItem() override;
    std::expected<void, std::string> unregisterItem() override;

  private:
    std::filesystem::path executable_;
    std::filesystem::path entryFile_;
};

}  // namespace tilewise::x11

#include "platform/x11/X11LoginItem.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

namespace tilewise::x11 {
namespace {

std::filesystem::path autostartDirectory() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config != 0) {
        return std::filesystem::path(config) / "autostart";
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home == nullptr ? "." : home) / ".config" / "autostart";
}

}  // namespace

X11LoginItem::X11LoginItem() : entry_(autostartDirectory() / "tilewise.desktop") {}

LoginItemStatus X11LoginItem::status() {
    std::error_code error;
    const bool present = std::filesystem::exists(entry_, error);
    if (error) return LoginItemStatus::notFound;
    return present ? LoginItemStatus::enabled : LoginItemStatus::notRegistered;
}

std::expected<void, std::string> X11LoginItem::registerItem() {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::unexpected("Cannot find the Tilewise program: " + error.message());
    std::filesystem::create_directories(entry_.parent_path(), error);
    if (error) return std::unexpected("Cannot create " + entry_.parent_path().string() + ": " + error.message());
    const auto temporary = entry_.string() + ".tmp";
    {
        std::ofstream file(temporary, std::ios::trunc);
        file << "[Desktop Entry]\nType=Application\nName=Tilewise\nExec=\"" << executable.string()
             << "\"\nX-GNOME-Autostart-enabled=true\n";
        if (!file.flush()) return std::unexpected("Cannot write " + temporary);
    }
    // Written beside and renamed, so a half-written entry never starts anything.
    std::filesystem::rename(temporary, entry_, error);
    if (error) return std::unexpected("Cannot write " + entry_.string() + ": " + error.message());
    return {};
}

std::expected<void, std::string> X11LoginItem::unregisterItem() {
    std::error_code error;
    std::filesystem::remove(entry_, error);
    if (error) return std::unexpected("Cannot remove " + entry_.string() + ": " + error.message());
    return {};
}

}  // namespace tilewise::x11

#include "platform/x11/XdgLoginItem.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <string_view>
#include <system_error>

#include "platform/ApplicationIdentity.h"

namespace tilewise::x11 {
namespace {

constexpr std::string_view kEntryGroup = "[Desktop Entry]";

std::string quoted(const std::filesystem::path& path) {
    return "“" + path.string() + "”";
}

std::string failure(std::string_view action, const std::filesystem::path& path,
                    const std::error_code& error) {
    return "Could not " + std::string(action) + " the login item " + quoted(path) + ": " +
           error.message() + ".";
}

// The Exec key takes its arguments quoted by the desktop-entry rules, and the whole value is
// then escaped once more as a string; '%' would start a field code.
std::string execValue(const std::string& program) {
    constexpr std::string_view kReserved = " \t\"'\\><~|&;$*?#()`";
    std::string argument;
    if (program.find_first_of(kReserved) == std::string::npos) {
        argument = program;
    } else {
        argument = "\"";
        for (const char character : program) {
            if (std::string_view("\"`$\\").find(character) != std::string_view::npos) {
                argument += '\\';
            }
            argument += character;
        }
        argument += '"';
    }
    std::string value;
    for (const char character : argument) {
        if (character == '\\')
            value += "\\\\";
        else if (character == '%')
            value += "%%";
        else
            value += character;
    }
    return value;
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The desktop-entry format allows spaces around the '='.
bool switchedOff(std::string_view line) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos)
        return false;
    const auto key = trimmed(line.substr(0, equals));
    const auto value = trimmed(line.substr(equals + 1));
    return (key == "Hidden" && value == "true") ||
           (key == "X-GNOME-Autostart-enabled" && value == "false");
}

}  // namespace

std::filesystem::path XdgLoginItem::standardEntryFile() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    const std::filesystem::path base = config != nullptr && *config != '\0'
                                           ? std::filesystem::path(config)
                                           : std::filesystem::path(home ? home : "") / ".config";
    return base / "autostart" / kDesktopEntryFileName;
}

XdgLoginItem::XdgLoginItem(std::filesystem::path executable, std::filesystem::path entryFile)
    : executable_(std::move(executable)), entryFile_(std::move(entryFile)) {}

LoginItemStatus XdgLoginItem::status() {
    std::error_code error;
    if (!std::filesystem::exists(entryFile_, error)) {
        return error ? LoginItemStatus::notFound : LoginItemStatus::notRegistered;
    }
    std::ifstream in(entryFile_);
    if (!in)
        return LoginItemStatus::notFound;
    bool inEntryGroup = false;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with('['))
            inEntryGroup = line == kEntryGroup;
        else if (inEntryGroup && switchedOff(line))
            return LoginItemStatus::notRegistered;
    }
    return in.bad() ? LoginItemStatus::notFound : LoginItemStatus::enabled;
}

std::expected<void, std::string> XdgLoginItem::registerItem() {
    const std::string program = executable_.string();
    if (program.find_first_of("\n\r") != std::string::npos) {
        return std::unexpected("Could not register the login item: the program's path " +
                               quoted(executable_) + " cannot be written into an entry.");
    }
    std::error_code error;
    std::filesystem::create_directories(entryFile_.parent_path(), error);
    if (error)
        return std::unexpected(failure("create", entryFile_.parent_path(), error));
    // Written beside the entry and renamed over it, so a session starting meanwhile never
    // reads half an entry.
    auto temporary = entryFile_;
    temporary += ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        if (!out) {
            return std::unexpected(
                failure("write", entryFile_, std::error_code(errno, std::generic_category())));
        }
        // Named, described and pictured as the installed desktop entry; the tray may not be
        // up yet at login, hence the delay GNOME honours.
        out << kEntryGroup << "\nType=Application\nName=" << kApplicationName
            << "\nComment=" << kApplicationSummary << "\nIcon=" << kApplicationId
            << "\nExec=" << execValue(program)
            << "\nTerminal=false\nX-GNOME-Autostart-enabled=true\nX-GNOME-Autostart-Delay=3\n";
        out.close();
        if (!out) {
            std::filesystem::remove(temporary, error);
            return std::unexpected(
                failure("write", entryFile_, std::make_error_code(std::errc::io_error)));
        }
    }
    std::filesystem::rename(temporary, entryFile_, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return std::unexpected(failure("write", entryFile_, error));
    }
    return {};
}

std::expected<void, std::string> XdgLoginItem::unregisterItem() {
    std::error_code error;
    std::filesystem::remove(entryFile_, error);
    if (error)
        return std::unexpected(failure("remove", entryFile_, error));
    return {};
}

}  // namespace tilewise::x11

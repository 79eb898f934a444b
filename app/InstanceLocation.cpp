#include "app/InstanceLocation.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace tilewise {
namespace {

std::filesystem::path runtimeDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && std::filesystem::path{runtime}.is_absolute()) {
        return std::filesystem::path{runtime} / "tilewise";
    }
    return "/tmp/tilewise-" + std::to_string(::getuid());
}

// Made when missing; an existing one must be ours and closed to everyone else, or another user
// could put a socket of theirs where our commands would send their requests.
std::expected<void, std::string> privateDirectory(const std::filesystem::path& directory) {
    if (::mkdir(directory.c_str(), 0700) != 0 && errno != EEXIST) {
        return std::unexpected("cannot create “" + directory.string() +
                               "”: " + std::strerror(errno));
    }
    struct stat status {};
    if (::lstat(directory.c_str(), &status) != 0) {
        return std::unexpected("cannot read “" + directory.string() + "”: " + std::strerror(errno));
    }
    if (!S_ISDIR(status.st_mode) || status.st_uid != ::getuid() || (status.st_mode & 077) != 0) {
        return std::unexpected("“" + directory.string() +
                               "” is not a directory that only this user may enter");
    }
    return {};
}

// ":0", ":0.0" and "unix:0" are one display; the name keeps only safe characters.
std::string displayName(std::string_view display) {
    const auto colon = display.rfind(':');
    if (colon != std::string_view::npos) {
        const auto dot = display.find('.', colon);
        if (dot != std::string_view::npos)
            display = display.substr(0, dot);
    }
    if (display.starts_with("unix:"))
        display.remove_prefix(4);
    std::string name;
    for (const char c : display) {
        const bool safe = std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.';
        name += safe ? c : '_';
    }
    return name;
}

}  // namespace

std::expected<InstanceLocation, std::string> InstanceLocation::forBackend(
    std::string_view backend) {
    const auto directory = runtimeDirectory();
    if (auto made = privateDirectory(directory); !made) {
        return std::unexpected(made.error());
    }
    std::string name{backend};
    if (backend == "x11") {
        const char* display = std::getenv("DISPLAY");
        name += "-" + displayName(display != nullptr ? display : "");
    }
    return InstanceLocation{directory, name};
}

}  // namespace tilewise

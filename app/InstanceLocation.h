#pragma once

#include <expected>
#include <filesystem>
#include <string>
#include <string_view>

namespace tilewise {

/// Where the one running instance of a desktop can be found: its lock file and its socket, in
/// a directory only this user may enter.
struct InstanceLocation {
    std::filesystem::path directory;
    std::string name;  ///< one per backend and X display, e.g. "x11-0"

    std::filesystem::path socketPath() const { return directory / (name + ".sock"); }
    std::filesystem::path lockPath() const { return directory / (name + ".lock"); }

    /// $XDG_RUNTIME_DIR/tilewise (else /tmp/tilewise-UID), created with mode 0700; refused
    /// when it is not a directory of this user's that only this user may enter. The name is
    /// the backend's, and for x11 the display's from $DISPLAY (its screen number dropped).
    static std::expected<InstanceLocation, std::string> forBackend(std::string_view backend);
};

}  // namespace tilewise

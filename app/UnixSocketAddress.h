#pragma once

#include <sys/socket.h>
#include <sys/un.h>

#include <cstring>
#include <filesystem>
#include <optional>

namespace tilewise {

/// The address of a local socket at `path`; nothing when the path is too long for one.
inline std::optional<sockaddr_un> unixSocketAddress(const std::filesystem::path& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.native().size() >= sizeof(address.sun_path))
        return std::nullopt;
    std::memcpy(address.sun_path, path.c_str(), path.native().size() + 1);
    return address;
}

}  // namespace tilewise

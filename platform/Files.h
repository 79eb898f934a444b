#pragma once

#include <cstddef>
#include <expected>
#include <filesystem>
#include <string>
#include <string_view>

namespace tilewise {

/// The one reader of files that come from outside (settings, preference files, archives) and
/// crash-safe replacement of a file. Failures are sentences naming the file and the reason.
namespace Files {

/// Why a file could not be read.
struct ReadError {
    /// The system's error number; 0 when the file was refused for what it is or for its size.
    int code = 0;
    /// "“path” cannot be read: …", "“path” is not a regular file", …
    std::string message;

    /// Nothing is at the path (ENOENT), as opposed to something that cannot be read.
    bool isMissing() const;
    bool operator==(const ReadError&) const = default;
};

/// The whole content of a regular file of at most `maximumSize` bytes. The file is opened
/// without blocking, so a FIFO or device at the path is refused instead of waited on.
std::expected<std::string, ReadError> readAll(const std::filesystem::path& path,
                                              std::size_t maximumSize);

/// Replaces the file with `bytes` so that readers and a crash leave either the old or the new
/// content, never part of one: the bytes go to an unnamed file beside it, flushed to disk,
/// which is then given a name and renamed over the file; the directory is flushed last.
/// Temporary names left by writers killed in between are removed. Only a regular file (or
/// nothing) at `path` is replaced: a symbolic link, directory, FIFO or device is left as it
/// is and the call fails. The replacement keeps the permissions of the replaced file.
std::expected<void, std::string> writeAtomically(const std::filesystem::path& path,
                                                 std::string_view bytes);

}  // namespace Files
}  // namespace tilewise

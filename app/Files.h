#pragma once

#include <cstddef>
#include <expected>
#include <filesystem>
#include <string>
#include <string_view>

namespace tilewise {

/// Whole-file reads and crash-safe replacement of a file. Failures are sentences naming the
/// file and the system's reason.
namespace Files {

/// Settings and preference files are small; anything larger is refused rather than read
/// without end (a path pointing at /dev/zero, say).
inline constexpr std::size_t kMaximumReadSize = 16 * 1024 * 1024;

/// The whole content of a regular file of at most kMaximumReadSize bytes.
std::expected<std::string, std::string> readAll(const std::filesystem::path& path);

/// Replaces the file with `bytes` so that readers and a crash leave either the old or the new
/// content: a temporary file beside it is written, flushed to disk and renamed over the file,
/// then the directory is flushed. A symbolic link is kept and its target replaced. On failure
/// the file is left as it was and the temporary file is removed.
std::expected<void, std::string> writeAtomically(const std::filesystem::path& path,
                                                 std::string_view bytes);

}  // namespace Files
}  // namespace tilewise

#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tilewise {

/// A file of tests/data, by its path below that folder.
std::filesystem::path testDataPath(std::string_view relative);

/// The whole file as bytes; empty when it cannot be read, which the test then reports.
std::string readFileBytes(const std::filesystem::path& path);

/// Replaces the file's content, creating it; false when it cannot be written.
bool writeFileBytes(const std::filesystem::path& path, std::string_view bytes);

}  // namespace tilewise

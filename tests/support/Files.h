#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tilewise {

/// A fresh directory under /tmp, removed with everything in it when the object goes.
class TemporaryDirectory {
  public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

/// A file of tests/data, by its path below that folder.
std::filesystem::path testDataPath(std::string_view relative);

/// The whole file as bytes; empty when it cannot be read, which the test then reports.
std::string readFileBytes(const std::filesystem::path& path);

/// Replaces the file's content, creating it; false when it cannot be written.
bool writeFileBytes(const std::filesystem::path& path, std::string_view bytes);

}  // namespace tilewise

#include "tests/support/Files.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace tilewise {

TemporaryDirectory::TemporaryDirectory() {
    char pattern[] = "/tmp/tilewise-test-XXXXXX";
    if (::mkdtemp(pattern) == nullptr)
        throw std::filesystem::filesystem_error("mkdtemp",
                                                std::error_code(errno, std::generic_category()));
    path_ = pattern;
}

TemporaryDirectory::~TemporaryDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path testDataPath(std::string_view relative) {
    return std::filesystem::path{TILEWISE_TEST_DATA} / relative;
}

std::string readFileBytes(const std::filesystem::path& path) {
    std::ifstream in{path, std::ios::binary};
    return {std::istreambuf_iterator<char>{in}, std::istreambuf_iterator<char>{}};
}

bool writeFileBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out{path, std::ios::binary | std::ios::trunc};
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

}  // namespace tilewise

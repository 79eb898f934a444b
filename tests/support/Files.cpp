#include "tests/support/Files.h"

#include <fstream>
#include <iterator>

namespace tilewise {

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

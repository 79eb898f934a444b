#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <gtest/gtest.h>

namespace {

// Every path the system could write to (settings, autostart entries, preferences) is derived
// from these variables; pointing them at a fresh directory keeps the user's own files safe.
std::filesystem::path isolateUserDirectories() {
    char pattern[] = "/tmp/tilewise-tests-XXXXXX";
    const char* root = ::mkdtemp(pattern);
    if (root == nullptr) {
        std::perror("mkdtemp");
        std::exit(EXIT_FAILURE);
    }
    const std::filesystem::path base{root};
    for (const char* sub : {"home", "config", "data", "state", "cache", "runtime"}) {
        std::filesystem::create_directories(base / sub);
    }
    ::setenv("HOME", (base / "home").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (base / "config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (base / "data").c_str(), 1);
    ::setenv("XDG_STATE_HOME", (base / "state").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (base / "cache").c_str(), 1);
    // The running instance's socket too: a test never talks to the user's own Tilewise.
    ::setenv("XDG_RUNTIME_DIR", (base / "runtime").c_str(), 1);
    ::unsetenv("TilewiseSettingsPath");
    return base;
}

}  // namespace

int main(int argc, char** argv) {
    const auto base = isolateUserDirectories();
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(base, ignored);
    return status;
}

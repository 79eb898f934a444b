#include "platform/x11/X11Platform.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace tilewise::x11 {

std::expected<std::unique_ptr<X11Platform>, std::string> X11Platform::open(Scheduler& mainQueue) {
    auto main = X11Connection::open();
    if (!main)
        return std::unexpected(main.error());
    auto worker = X11Connection::open();
    if (!worker)
        return std::unexpected(worker.error());
    auto keys = X11Connection::open();
    if (!keys)
        return std::unexpected(keys.error());
    std::unique_ptr<X11Platform> platform(
        new X11Platform(std::move(*main), std::move(*worker), std::move(*keys), mainQueue));
    if (platform->main_.broken())
        return std::unexpected("Lost the connection to the X display.");
    return platform;
}

namespace {

// What an autostart entry runs: the `tilewise` command hands its work to this desktop program
// with its own absolute path as the program name; started otherwise, this program itself.
std::filesystem::path ownExecutable() {
    std::ifstream commandLine{"/proc/self/cmdline"};
    std::string name;
    if (std::getline(commandLine, name, '\0') && std::filesystem::path{name}.is_absolute())
        return name;
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error);
}

}  // namespace

// The own defaults domain gets no launch arguments here: the settings store reads its
// -TilewiseSettingsPath from the real arguments itself.
X11Platform::X11Platform(X11Connection main, X11Connection worker, X11Connection keys,
                         Scheduler& mainQueue)
    : main_(std::move(main)),
      atoms_(Atoms::intern(main_.display())),
      events_(main_),
      accessibility_(std::move(worker)),
      workspace_(main_.display(), atoms_, events_, mainQueue),
      screens_(main_.display(), atoms_, events_),
      hotKeys_(std::move(keys), mainQueue),
      defaults_(std::vector<std::string>{"tilewise"}),
      login_(ownExecutable()),
      panel_(main_.display()) {
    hotKeys_.watchFromEventLoop();
}

}  // namespace tilewise::x11

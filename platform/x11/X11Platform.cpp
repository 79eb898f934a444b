#include "platform/x11/X11Platform.h"

#include <X11/XKBlib.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/ApplicationIdentity.h"

namespace tilewise::x11 {

std::expected<std::unique_ptr<X11Platform>, std::string> X11Platform::open(Scheduler& mainQueue) {
    auto main = X11Connection::open();
    if (!main)
        return std::unexpected(main.error());
    // The worker never reads keys: its connection skips the keyboard extension's set-up.
    XkbIgnoreExtension(True);
    auto worker = X11Connection::open();
    XkbIgnoreExtension(False);
    if (!worker)
        return std::unexpected(worker.error());
    std::unique_ptr<X11Platform> platform(
        new X11Platform(std::move(*main), std::move(*worker), mainQueue));
    if (platform->main_.broken())
        return std::unexpected("Lost the connection to the X display.");
    return platform;
}

namespace {

// The program a login item must start: the `tilewise` command when it started this one.
std::filesystem::path ownExecutable() {
    if (const char* command = std::getenv(kCommandPathVariable); command && *command)
        return command;
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error);
}

}  // namespace

// The own defaults domain gets no launch arguments here: the settings store reads its
// -TilewiseSettingsPath from the real arguments itself.
X11Platform::X11Platform(X11Connection main, X11Connection worker, Scheduler& mainQueue)
    : main_(std::move(main)),
      atoms_(Atoms::intern(main_.display())),
      events_(main_, mainQueue),
      accessibility_(std::move(worker), atoms_),
      workspace_(main_.display(), atoms_, events_, mainQueue),
      screens_(main_.display(), atoms_, events_),
      mainQueue_(mainQueue),
      defaults_(std::vector<std::string>{"tilewise"}),
      login_(ownExecutable()),
      panel_(main_.display()) {}

HotKeys& X11Platform::hotKeys() {
    if (!hotKeys_) {
        hotKeys_ = std::make_unique<X11HotKeys>(X11Connection::openAnother(), mainQueue_);
        hotKeys_->watchFromEventLoop();
    }
    return *hotKeys_;
}

KeyboardLayout& X11Platform::keyboardLayout() {
    if (!keyboard_)
        keyboard_ = std::make_unique<X11KeyboardLayout>();
    return *keyboard_;
}

}  // namespace tilewise::x11

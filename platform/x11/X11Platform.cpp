#include "platform/x11/X11Platform.h"

#include <X11/XKBlib.h>
#include <X11/Xlib-xcb.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/ApplicationIdentity.h"
#include "platform/x11/Monitors.h"

namespace tilewise::x11 {

// Neither connection reads keys (hot keys and the keyboard layout open their own): both skip
// the keyboard extension's set-up, two round trips each.
std::expected<std::unique_ptr<X11Platform>, std::string> X11Platform::open(Scheduler& mainQueue) {
    const auto openWithoutKeyboard = [] {
        XkbIgnoreExtension(True);
        auto connection = X11Connection::open();
        XkbIgnoreExtension(False);
        return connection;
    };
    auto main = openWithoutKeyboard();
    if (!main)
        return std::unexpected(main.error());
    auto worker = openWithoutKeyboard();
    if (!worker)
        return std::unexpected(worker.error());
    // Asked now, answered with the atoms: the monitors need no round trip of their own for it.
    prefetchMonitorExtensions(XGetXCBConnection(main->display()));
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
      panel_(main_.display(), &events_) {}

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

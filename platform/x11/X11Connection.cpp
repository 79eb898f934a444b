#include "platform/x11/X11Connection.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>
#include <utility>

#include "platform/Log.h"
#include "platform/LostDisplay.h"
#include "platform/x11/ErrorTrap.h"

namespace tilewise::x11 {
namespace {

std::mutex adoptedMutex;
std::set<Display*>& adoptedDisplays() {
    static std::set<Display*> displays;
    return displays;
}

// Said once, however many connections notice.
void reportLostServer() {
    static std::once_flag once;
    std::call_once(once, [] {
        std::fputs("Lost the connection to the X display.\n", stderr);
        Log::error(LogCategory::app, "lost the connection to the X server");
    });
}

// Xlib calls this after a lost server instead of exit(); later requests on the connection
// then return at once, and `broken()` tells the owner. The process's handler decides the rest:
// a resident application shuts down (and saves) as it would when asked to quit.
void keepRunningAfterLostServer(Display*, void* lost) {
    static_cast<std::atomic<bool>*>(lost)->store(true);
    reportLostServer();
    LostDisplay::notify();
}

// Called first on every lost connection. A connection still inside XOpenDisplay has no exit
// handler of ours yet, and Xlib would exit silently after this returns: it ends here instead,
// with the sentence. Ours return, and their exit handler keeps the process running.
int handleLostServer(Display* display) {
    {
        const std::lock_guard lock(adoptedMutex);
        if (adoptedDisplays().contains(display))
            return 0;
    }
    reportLostServer();
    std::_Exit(LostDisplay::kExitStatus);
}

void installLostServerHandler() {
    static std::once_flag once;
    std::call_once(once, [] { XSetIOErrorHandler(handleLostServer); });
}

}  // namespace

std::expected<X11Connection, std::string> X11Connection::open(const std::string& displayName) {
    ErrorTrap::installHandlers();
    installLostServerHandler();
    Display* display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (display == nullptr) {
        const char* name = displayName.empty() ? XDisplayName(nullptr) : displayName.c_str();
        return std::unexpected(std::string("Cannot open the X display “") + name + "”.");
    }
    auto lost = std::make_unique<std::atomic<bool>>(false);
    XSetIOErrorExitHandler(display, keepRunningAfterLostServer, lost.get());
    {
        const std::lock_guard lock(adoptedMutex);
        adoptedDisplays().insert(display);
    }
    return X11Connection(display, std::move(lost));
}

X11Connection X11Connection::openAnother() {
    auto connection = open();
    if (!connection) {
        reportLostServer();
        std::_Exit(LostDisplay::kExitStatus);
    }
    return std::move(*connection);
}

void X11Connection::endProcessIfLostDuring(const std::function<void()>& requests) const {
    {
        const std::lock_guard lock(adoptedMutex);
        adoptedDisplays().erase(display_);
    }
    requests();
    const std::lock_guard lock(adoptedMutex);
    adoptedDisplays().insert(display_);
}

X11Connection::X11Connection(X11Connection&& other) noexcept
    : display_(std::exchange(other.display_, nullptr)), lost_(std::move(other.lost_)) {}

X11Connection& X11Connection::operator=(X11Connection&& other) noexcept {
    if (this != &other) {
        close();
        display_ = std::exchange(other.display_, nullptr);
        lost_ = std::move(other.lost_);
    }
    return *this;
}

X11Connection::~X11Connection() {
    close();
}

// Closing talks to the server; a lost one is never talked to again, so its connection is left
// for the process's end to release.
void X11Connection::close() {
    if (display_ == nullptr)
        return;
    if (!broken()) {
        {
            const std::lock_guard lock(adoptedMutex);
            adoptedDisplays().erase(display_);
        }
        XCloseDisplay(display_);
    }
    display_ = nullptr;
}

}  // namespace tilewise::x11

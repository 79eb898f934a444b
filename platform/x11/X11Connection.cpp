#include "platform/x11/X11Connection.h"

#include <utility>

#include "platform/Log.h"
#include "platform/x11/ErrorTrap.h"

namespace tilewise::x11 {
namespace {

// Xlib calls this after a lost server instead of exit(); later requests on the connection
// then return at once, and `broken()` tells the owner.
void keepRunningAfterLostServer(Display*, void* lost) {
    static_cast<std::atomic<bool>*>(lost)->store(true);
    Log::error(LogCategory::app, "lost the connection to the X server");
}

}  // namespace

std::expected<X11Connection, std::string> X11Connection::open(const std::string& displayName) {
    ErrorTrap::installHandlers();
    Display* display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (display == nullptr) {
        const char* name = displayName.empty() ? XDisplayName(nullptr) : displayName.c_str();
        return std::unexpected(std::string("Cannot open the X display “") + name + "”.");
    }
    auto lost = std::make_unique<std::atomic<bool>>(false);
    XSetIOErrorExitHandler(display, keepRunningAfterLostServer, lost.get());
    return X11Connection(display, std::move(lost));
}

X11Connection::X11Connection(X11Connection&& other) noexcept
    : display_(std::exchange(other.display_, nullptr)), lost_(std::move(other.lost_)) {}

X11Connection& X11Connection::operator=(X11Connection&& other) noexcept {
    if (this != &other) {
        if (display_ != nullptr)
            XCloseDisplay(display_);
        display_ = std::exchange(other.display_, nullptr);
        lost_ = std::move(other.lost_);
    }
    return *this;
}

X11Connection::~X11Connection() {
    if (display_ != nullptr)
        XCloseDisplay(display_);
}

}  // namespace tilewise::x11

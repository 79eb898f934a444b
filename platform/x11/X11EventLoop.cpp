#include "platform/x11/X11EventLoop.h"

namespace tilewise::x11 {

X11EventLoop::X11EventLoop(Display* display)
    : display_(display),
      watch_(
          ConnectionNumber(display), [this] { dispatchPending(); },
          SocketWatch::When::readableOrBeforeSleeping) {}

X11EventLoop::~X11EventLoop() = default;

std::uint64_t X11EventLoop::listen(Listener listener) {
    const auto id = nextId_++;
    listeners_.emplace(id, std::move(listener));
    return id;
}

void X11EventLoop::unlisten(std::uint64_t id) {
    listeners_.erase(id);
}

void X11EventLoop::dispatchPending() {
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        // A listener may add or remove listeners while it runs.
        const auto snapshot = listeners_;
        for (const auto& [id, listener] : snapshot) {
            if (listeners_.contains(id))
                listener(event);
        }
    }
}

}  // namespace tilewise::x11

#include "platform/x11/X11EventLoop.h"

namespace tilewise::x11 {

X11EventLoop::X11EventLoop(const X11Connection& connection, Scheduler& mainQueue)
    : connection_(connection),
      watch_(mainQueue.watchReadable(
          ConnectionNumber(connection.display()), [this] { dispatchPending(); },
          Scheduler::Watch::readableOrBeforeSleeping)) {}

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
    Display* display = connection_.display();
    while (!connection_.broken() && XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        // A listener may add or remove listeners while it runs.
        const auto snapshot = listeners_;
        for (const auto& [id, listener] : snapshot) {
            if (listeners_.contains(id))
                listener(event);
        }
    }
    if (connection_.broken())
        watch_->stop();
}

}  // namespace tilewise::x11

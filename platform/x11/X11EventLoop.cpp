#include "platform/x11/X11EventLoop.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QSocketNotifier>

namespace tilewise::x11 {

X11EventLoop::X11EventLoop(Display* display)
    : display_(display),
      notifier_(
          std::make_unique<QSocketNotifier>(ConnectionNumber(display), QSocketNotifier::Read)) {
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { dispatchPending(); });
    if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, notifier_.get(),
                         [this] { dispatchPending(); });
    }
}

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

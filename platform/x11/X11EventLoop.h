#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "platform/Scheduler.h"
#include "platform/x11/X11Connection.h"

namespace tilewise::x11 {

/// Delivers the events of the main thread's X connection from the main queue's loop: when the
/// connection has data, and before the loop goes to sleep (a round trip may have read events
/// into Xlib's queue without the socket saying so).
class X11EventLoop {
  public:
    using Listener = std::function<void(const XEvent&)>;

    /// Stops watching once the connection is broken: a lost server's socket stays readable.
    X11EventLoop(const X11Connection& connection, Scheduler& mainQueue);
    X11EventLoop(const X11EventLoop&) = delete;
    X11EventLoop& operator=(const X11EventLoop&) = delete;
    ~X11EventLoop();

    std::uint64_t listen(Listener listener);
    void unlisten(std::uint64_t id);
    /// Hands every queued event to the listeners.
    void dispatchPending();

  private:
    const X11Connection& connection_;
    std::map<std::uint64_t, Listener> listeners_;
    std::uint64_t nextId_ = 1;
    // Last, so that no callback can arrive while the members above are destroyed.
    std::unique_ptr<ReadableWatch> watch_;
};

}  // namespace tilewise::x11

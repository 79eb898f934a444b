#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

namespace tilewise::x11 {

/// Calls back from the Qt event loop of the creating thread whenever a socket has data to
/// read. Kept apart from the Xlib code because Xlib's macros (None, Bool, KeyPress…) break
/// Qt's headers.
class SocketWatch {
  public:
    /// Xlib may read events into its own queue during a round trip without the socket showing
    /// data afterwards; `alsoBeforeSleeping` calls back each time the loop is about to wait, so
    /// such events are not left behind.
    enum class When { readable, readableOrBeforeSleeping };

    SocketWatch(int descriptor, std::function<void()> onReadable, When when = When::readable);
    SocketWatch(const SocketWatch&) = delete;
    SocketWatch& operator=(const SocketWatch&) = delete;
    ~SocketWatch();

    /// Stops the callbacks, for a socket that would stay readable forever (a lost server).
    void stop();

  private:
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace tilewise::x11

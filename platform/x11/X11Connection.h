#pragma once

#include <X11/Xlib.h>

#include <atomic>
#include <expected>
#include <functional>
#include <memory>
#include <string>

namespace tilewise::x11 {

/// One connection to the X server, closed with the object. Neither a protocol error nor a
/// lost server ends the process: errors outside an `ErrorTrap` are logged, and a lost server
/// marks the connection broken so callers can report it, says so once on standard error and
/// calls `LostDisplay::notify`. A server lost while a connection is still being opened ends the
/// process with that sentence and `LostDisplay::kExitStatus`.
class X11Connection {
  public:
    /// Opens `displayName` (the DISPLAY variable when empty); the sentence on failure.
    static std::expected<X11Connection, std::string> open(const std::string& displayName = {});

    X11Connection(X11Connection&& other) noexcept;
    X11Connection& operator=(X11Connection&& other) noexcept;
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;
    ~X11Connection();

    Display* display() const { return display_; }
    Window root() const { return DefaultRootWindow(display_); }
    /// True once the server went away; every later request fails quietly.
    bool broken() const { return lost_ && lost_->load(); }
    /// Runs `requests` as if the connection were still being opened: a server lost meanwhile
    /// ends the process with the sentence and status 1. For libraries that dereference what a
    /// failed request left empty (libXi's extension set-up) instead of failing.
    void endProcessIfLostDuring(const std::function<void()>& requests) const;
    /// Opens one more connection to a display the process already uses: failing now means the
    /// server went away, which ends the process with the sentence and status 1.
    static X11Connection openAnother();

  private:
    void close();

    X11Connection(Display* display, std::unique_ptr<std::atomic<bool>> lost)
        : display_(display), lost_(std::move(lost)) {}
    Display* display_ = nullptr;
    std::unique_ptr<std::atomic<bool>> lost_;  // stays put when the connection moves
};

}  // namespace tilewise::x11

#pragma once

#include <X11/Xlib.h>

#include <array>
#include <chrono>
#include <functional>
#include <optional>
#include <vector>

#include "platform/x11/Atoms.h"

namespace tilewise::x11 {

/// Knows when the window manager has handled the messages sent to it so far. It asks the
/// manager for the frame extents of an unmapped window of its own and waits for the answer:
/// a manager handles its messages in order, so by then it has acted on everything before.
/// Some managers advertise that request but never answer it (fluxbox), others answer it
/// unadvertised: with one that does not answer, the caller's own events tell, and until it is
/// known which kind runs, whichever tells first. What is learnt is kept once per manager.
/// Without a manager, the server's own round trip is enough.
class WindowManagerSync {
  public:
    WindowManagerSync(Display* display, const Atoms& atoms);
    WindowManagerSync(const WindowManagerSync&) = delete;
    WindowManagerSync& operator=(const WindowManagerSync&) = delete;
    ~WindowManagerSync();

    /// Looks again whether a manager runs and what it supports, when the one seen last has
    /// gone since (or none ran): a manager may have been replaced.
    void refresh();
    /// True when a window manager runs (its check window is alive and names itself).
    bool managerRuns() const { return managerRuns_; }
    /// True when the running manager lists `feature` in _NET_SUPPORTED.
    bool supports(Atom feature) const;

    /// Sends a client message about `window` to the manager.
    void send(Window window, Atom type, const std::array<long, 5>& data);
    /// Drops the events that arrived so far: they tell of earlier requests.
    void discardPendingEvents();

    /// What an event means to the caller of `waitForManager`.
    enum class Sign {
        unrelated,  ///< says nothing about the request
        progress,   ///< the manager acted, but may act again
        done,       ///< the manager did what was asked
    };

    /// Waits until the manager has handled everything sent before; false when it did not
    /// answer in time. Every other event that arrives meanwhile goes to `onEvent`. With a
    /// manager that does not answer (or may not), the wait ends at a `done` event, once the
    /// manager has kept quiet for a moment after a `progress` event, or at the timeout, which
    /// then only means that the manager did nothing.
    bool waitForManager(std::chrono::milliseconds timeout,
                        const std::function<Sign(const XEvent&)>& onEvent);

    /// Waits for an event that `wanted` accepts, dropping the others; false at the timeout.
    bool awaitEvent(std::chrono::milliseconds timeout,
                    const std::function<bool(const XEvent&)>& wanted);

  private:
    bool nextEvent(XEvent& event, std::chrono::steady_clock::time_point deadline);
    bool isAnswer(const XEvent& event, Window probe) const;
    void notice(const XEvent& event);
    enum class Answers { unknown, yes, no };
    void learn(Answers answers);
    void watchForExit(Window manager);
    void sendProbe();

    Display* display_;
    const Atoms& atoms_;
    Window probe_ = None;
    Window previousProbe_ = None;
    Window manager_ = None;
    bool managerRuns_ = false;
    Answers answers_ = Answers::unknown;  ///< whether the manager answers the probe
    /// When the first probe went out while that was unknown.
    std::optional<std::chrono::steady_clock::time_point> unansweredSince_;
    bool managerGone_ = false;  ///< its check window was destroyed since it was read
    std::vector<Atom> supported_;
};

}  // namespace tilewise::x11

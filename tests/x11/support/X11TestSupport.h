#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/Rect.h"
#include "platform/x11/Atoms.h"
#include "platform/x11/X11Connection.h"
#include "tests/x11/support/ChildProcess.h"

namespace tilewise::testing {

inline constexpr std::chrono::milliseconds kServerTimeout{5000};

/// A window of the test client, closed with the object.
struct TestWindow {
    ChildProcess process;
    Window id = None;

    /// Destroys the window and waits until the server has done it.
    void destroy();
};

/// The window manager the suite runs under (from scripts/with-x11).
std::string windowManagerName();

/// A fixture with a connection of the test's own, for setting things up and checking them by
/// other means than the code under test.
class X11Test : public ::testing::Test {
  protected:
    X11Test();

    Display* display() const { return connection_.display(); }
    Window root() const { return connection_.root(); }
    const x11::Atoms& atoms() const { return atoms_; }

    /// Starts a test client window with the given arguments and waits until it is managed.
    TestWindow openTestWindow(const std::vector<std::string>& arguments = {});
    /// Gives `window` the input focus and waits until the window manager calls it active.
    void focus(Window window);
    /// The frame the window manager drew around `window`, found through the window tree
    /// rather than the frame extents the backend relies on.
    Rect frameByTree(Window window);
    /// Waits for an event on this connection that satisfies `accept`.
    bool waitForEvent(const std::function<bool(const XEvent&)>& accept,
                      std::chrono::milliseconds timeout = kServerTimeout);
    /// Waits until `property` of `window` changes and `settled` holds (at once if it does).
    bool waitForProperty(Window window, Atom property, const std::function<bool()>& settled);

  private:
    x11::X11Connection connection_;
    x11::Atoms atoms_;
};

}  // namespace tilewise::testing

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

/// A window of the test client or of xterm, closed with the object. Closing waits until the
/// window manager has let go of the window, since the next window may get the same id.
struct TestWindow {
    TestWindow(ChildProcess process, Window id, std::function<void(Window)> afterExit = {});
    TestWindow(TestWindow&&) = default;
    ~TestWindow();

    /// Destroys the test client's window and waits until the server has done it.
    void destroy();

    ChildProcess process;
    Window id = None;
    std::function<void(Window)> afterExit;
};

/// The window manager the suite runs under (from scripts/with-x11).
std::string windowManagerName();

/// What one run of the tilewise executable printed (both streams) and its exit status.
struct CommandResult {
    int status = -1;
    std::string output;
};

/// Runs the tilewise executable with `arguments` to its end.
CommandResult runTilewise(const std::vector<std::string>& arguments);

/// The colour (0xRRGGBB) the screen shows at one point of the root window; all bits set when
/// it cannot be read.
unsigned long rootPixel(Display* display, int x, int y);

/// Paints the desktop one colour (0xRRGGBB), both as the root's background and as the pixmap
/// that desktop-background setters publish, from which a compositing manager paints the root.
void setDesktopColour(Display* display, unsigned long colour);

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
    /// Starts a real xterm (a terminal: its size steps by character cells) and waits until
    /// the window manager lists its window.
    TestWindow openXterm(const std::vector<std::string>& arguments = {});
    /// Starts a program and waits until the window manager lists a new window of its class.
    TestWindow openProgram(const std::vector<std::string>& command, const std::string& windowClass);
    /// The window manager's clients.
    std::vector<Window> clients();
    /// Waits until the window manager no longer lists `window` as a client.
    void waitUntilUnlisted(Window window);
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

#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <expected>
#include <optional>
#include <utility>

#include "core/Rect.h"
#include "platform/x11/Atoms.h"
#include "platform/x11/WindowFault.h"
#include "platform/x11/WindowManagerSync.h"
#include "platform/x11/WindowSnapshot.h"

namespace tilewise::x11 {

/// Edge widths: left, right, top, bottom.
struct Edges {
    long left = 0, right = 0, top = 0, bottom = 0;
    bool operator==(const Edges&) const = default;
};

/// The outer frame of a top-level client, as a user sees it: the client plus the decorations
/// of the window manager (_NET_FRAME_EXTENTS), less the invisible shadow margins a
/// client-side-decorated window keeps inside itself (_GTK_FRAME_EXTENTS), so that the edges
/// of neighbouring windows meet. Moves and resizes write that frame and wait for the window
/// manager, so that what is read back afterwards is what the manager really did.
class WindowFrame {
  public:
    WindowFrame(Display* display, const Atoms& atoms);

    /// The outer frame in root coordinates.
    std::expected<Rect, WindowFault> read(Window window) const;

    /// Moves the frame's top-left corner to `origin`, resizes the frame to `size`, or both,
    /// leaving the other half alone. Clears a maximized or full-screen state first (the
    /// manager would otherwise hold the window to the monitor). Waits at most `timeout` for
    /// each step the manager takes.
    std::expected<void, WindowFault> write(Window window, std::optional<Point> origin,
                                           std::optional<Size> size,
                                           std::chrono::milliseconds timeout);

    /// True when the client's own size hints account for its frame being `actual` in size
    /// where `requested` was asked; false when they do not, absent when the window is gone.
    std::optional<bool> hintsAccountFor(Window window, Size requested, Size actual) const;

    /// True when a window manager runs (looked at again only once the last one seen went).
    bool managerRuns();
    /// The window's geometry and frame properties, absent when it is gone. Read in one round
    /// trip, or none: the last reading holds until the server reports anything new.
    std::optional<WindowSnapshot> takeSnapshot(Window window) const;

  private:
    std::optional<WindowSnapshot> freshSnapshot(Window window) const;
    Edges decorations(Window window, const WindowSnapshot& snapshot) const;
    Edges enclosingFrameEdges(Window window) const;
    bool keepsFrameToItself(const WindowSnapshot& snapshot) const;
    /// True when a request went out (and was answered), false when it would change nothing.
    std::expected<bool, WindowFault> request(Window window, std::optional<Point> origin,
                                             std::optional<Size> size,
                                             const WindowSnapshot& snapshot,
                                             std::chrono::milliseconds timeout);
    void configure(Window window, std::optional<std::pair<long, long>> origin,
                   std::optional<std::pair<long, long>> size);
    std::expected<void, WindowFault> leaveMaximizedAndFullScreen(Window window,
                                                                 const WindowSnapshot& snapshot,
                                                                 std::chrono::milliseconds timeout);
    /// The client geometry a request asked for: root position and size, each if given.
    struct ExpectedClient {
        std::optional<std::pair<long, long>> origin;
        std::optional<std::pair<long, long>> size;
        std::pair<long, long> allowedSize;  ///< `size` within the client's size hints
        bool matches(const XConfigureEvent& event) const;
        bool isMetBy(const WindowSnapshot::ClientGeometry& client) const;
    };

    std::expected<void, WindowFault> awaitManager(Window window, std::chrono::milliseconds timeout,
                                                  const ExpectedClient& expected);
    std::expected<void, WindowFault> awaitShadow(Window window, std::chrono::milliseconds timeout);

    Display* display_;
    const Atoms& atoms_;
    WindowManagerSync sync_;
    mutable Window watched_ = None;  ///< the window whose events this connection asks for
    mutable std::optional<std::pair<Window, WindowSnapshot>> last_;
};

}  // namespace tilewise::x11

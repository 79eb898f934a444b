#pragma once

#include <X11/Xlib.h>

#include <utility>

namespace tilewise::x11 {

/// The sizes a client accepts (WM_NORMAL_HINTS): bounds and steps, which window managers
/// enforce on every resize. Knowing them tells in advance what a resize will come to.
struct SizeHints {
    long minWidth = 1, minHeight = 1;
    long maxWidth = 0, maxHeight = 0;  ///< 0: no bound
    long baseWidth = 0, baseHeight = 0;
    long widthStep = 1, heightStep = 1;

    /// The client's hints; the defaults (anything goes) when it has none or the window is gone.
    static SizeHints read(Display* display, Window window);

    /// The client size a manager makes of a request for `width` × `height`.
    std::pair<long, long> constrain(long width, long height) const;
    /// True when the client fixes its size (minimum equal to maximum).
    bool isFixed() const;
};

}  // namespace tilewise::x11

#pragma once

#include <X11/Xlib.h>

#include <utility>
#include <vector>

namespace tilewise::x11 {

/// The sizes a client accepts (WM_NORMAL_HINTS): bounds and steps, which window managers
/// enforce on every resize. Knowing them tells in advance what a resize will come to.
struct SizeHints {
    long minWidth = 1, minHeight = 1;
    long maxWidth = 0, maxHeight = 0;  ///< 0: no bound
    long baseWidth = 0, baseHeight = 0;
    long widthStep = 1, heightStep = 1;
    /// Bounds of width ÷ height as fractions; a zero denominator: no bound.
    long minAspectX = 0, minAspectY = 0, maxAspectX = 0, maxAspectY = 0;

    /// The hints from the values of a WM_NORMAL_HINTS property (flags first, as ICCCM lays
    /// them out; the older form without base size and gravity too).
    static SizeHints fromProperty(const std::vector<long>& values);

    /// The client size a manager makes of a request for `width` × `height`.
    std::pair<long, long> constrain(long width, long height) const;
    /// True when the client fixes its size (minimum equal to maximum).
    bool isFixed() const;
    /// True when a client size keeps to every bound, step and aspect ratio.
    bool allows(long width, long height) const;
    /// True when these hints account for a manager making `actual` of a request for
    /// `requested` (client sizes): the request breaks them and `actual` is an allowed size
    /// next to it, whichever way a manager rounds to a step or an aspect ratio.
    bool accountFor(std::pair<long, long> requested, std::pair<long, long> actual) const;
};

}  // namespace tilewise::x11

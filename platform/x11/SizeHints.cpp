#include "platform/x11/SizeHints.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <cstdlib>

#include "platform/x11/ErrorTrap.h"

namespace tilewise::x11 {
namespace {

// One dimension as ICCCM describes it: within the bounds, then down to base + a whole number
// of steps, but never below the minimum.
long constrainOne(long value, long minimum, long maximum, long base, long step) {
    long result = std::max(value, minimum);
    if (maximum > 0)
        result = std::min(result, maximum);
    if (step > 1 && result > base)
        result = base + (result - base) / step * step;
    return std::max(result, minimum);
}

}  // namespace

SizeHints SizeHints::read(Display* display, Window window) {
    XSizeHints hints{};
    long supplied = 0;
    ErrorTrap trap(display);
    SizeHints result;
    if (XGetWMNormalHints(display, window, &hints, &supplied) == 0 || trap.check())
        return result;
    // The flags tell which fields the client set; `supplied` claims them all regardless.
    const bool hasMin = (hints.flags & PMinSize) != 0;
    const bool hasBase = (hints.flags & PBaseSize) != 0;
    if (hasMin || hasBase) {
        result.minWidth = std::max(1, hasMin ? hints.min_width : hints.base_width);
        result.minHeight = std::max(1, hasMin ? hints.min_height : hints.base_height);
        result.baseWidth = std::max(0, hasBase ? hints.base_width : hints.min_width);
        result.baseHeight = std::max(0, hasBase ? hints.base_height : hints.min_height);
    }
    if ((hints.flags & PMaxSize) != 0) {
        result.maxWidth = std::max(0, hints.max_width);
        result.maxHeight = std::max(0, hints.max_height);
    }
    if ((hints.flags & PAspect) != 0 && hints.min_aspect.x > 0 && hints.min_aspect.y > 0 &&
        hints.max_aspect.x > 0 && hints.max_aspect.y > 0) {
        result.minAspectX = hints.min_aspect.x;
        result.minAspectY = hints.min_aspect.y;
        result.maxAspectX = hints.max_aspect.x;
        result.maxAspectY = hints.max_aspect.y;
    }
    if ((hints.flags & PResizeInc) != 0) {
        result.widthStep = std::max(1, hints.width_inc);
        result.heightStep = std::max(1, hints.height_inc);
    }
    return result;
}

std::pair<long, long> SizeHints::constrain(long width, long height) const {
    return {constrainOne(width, minWidth, maxWidth, baseWidth, widthStep),
            constrainOne(height, minHeight, maxHeight, baseHeight, heightStep)};
}

bool SizeHints::allows(long width, long height) const {
    const auto keepsTo = [](long value, long minimum, long maximum, long base, long step) {
        return value >= minimum && (maximum <= 0 || value <= maximum) &&
               (step <= 1 || value <= base || (value - base) % step == 0);
    };
    // Ratios compared crosswise, a pixel of slack for the rounding of either side.
    const bool wideEnough = minAspectY == 0 || (width + 1) * minAspectY >= height * minAspectX;
    const bool narrowEnough = maxAspectY == 0 || width * maxAspectY <= (height + 1) * maxAspectX;
    return keepsTo(width, minWidth, maxWidth, baseWidth, widthStep) &&
           keepsTo(height, minHeight, maxHeight, baseHeight, heightStep) && wideEnough &&
           narrowEnough;
}

bool SizeHints::accountFor(std::pair<long, long> requested, std::pair<long, long> actual) const {
    if (allows(requested.first, requested.second) || !allows(actual.first, actual.second))
        return false;
    // An aspect ratio may take from either side; bounds and steps leave at most a step's
    // difference from the rounding this side does.
    if (minAspectY != 0)
        return true;
    const auto [width, height] = constrain(requested.first, requested.second);
    return std::abs(actual.first - width) < std::max(widthStep, 2L) &&
           std::abs(actual.second - height) < std::max(heightStep, 2L);
}

bool SizeHints::isFixed() const {
    return maxWidth > 0 && maxHeight > 0 && minWidth == maxWidth && minHeight == maxHeight;
}

}  // namespace tilewise::x11

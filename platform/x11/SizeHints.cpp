#include "platform/x11/SizeHints.h"

#include <X11/Xutil.h>

#include <algorithm>

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

bool SizeHints::isFixed() const {
    return maxWidth > 0 && maxHeight > 0 && minWidth == maxWidth && minHeight == maxHeight;
}

}  // namespace tilewise::x11

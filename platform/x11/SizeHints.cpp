#include "platform/x11/SizeHints.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <cstdlib>

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

// The fields: flags, four unused ones, minimum, maximum, steps, minimum and maximum aspect,
// base size, gravity.
SizeHints SizeHints::fromProperty(const std::vector<long>& values) {
    SizeHints result;
    if (values.size() < 15)
        return result;
    const auto at = [&](std::size_t index) { return index < values.size() ? values[index] : 0; };
    const long flags = at(0);
    const long minWidth = at(5), minHeight = at(6), baseWidth = at(15), baseHeight = at(16);
    // The flags tell which fields the client set.
    const bool hasMin = (flags & PMinSize) != 0;
    const bool hasBase = (flags & PBaseSize) != 0 && values.size() >= 17;
    if (hasMin || hasBase) {
        result.minWidth = std::max(1L, hasMin ? minWidth : baseWidth);
        result.minHeight = std::max(1L, hasMin ? minHeight : baseHeight);
        result.baseWidth = std::max(0L, hasBase ? baseWidth : minWidth);
        result.baseHeight = std::max(0L, hasBase ? baseHeight : minHeight);
    }
    if ((flags & PMaxSize) != 0) {
        result.maxWidth = std::max(0L, at(7));
        result.maxHeight = std::max(0L, at(8));
    }
    if ((flags & PResizeInc) != 0) {
        result.widthStep = std::max(1L, at(9));
        result.heightStep = std::max(1L, at(10));
    }
    if ((flags & PAspect) != 0 && at(11) > 0 && at(12) > 0 && at(13) > 0 && at(14) > 0) {
        result.minAspectX = at(11);
        result.minAspectY = at(12);
        result.maxAspectX = at(13);
        result.maxAspectY = at(14);
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

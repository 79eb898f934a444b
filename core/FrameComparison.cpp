#include "core/FrameComparison.h"

#include <cmath>

namespace tilewise::FrameComparison {
namespace {

bool isClose(double x, double y, double tolerance) {
    return std::fabs(x - y) <= tolerance;
}

}  // namespace

FrameOutcome evaluate(const Rect& requested, const Rect& actual, double tolerance) {
    const bool samePosition = isClose(actual.minX(), requested.minX(), tolerance) &&
                              isClose(actual.minY(), requested.minY(), tolerance);
    if (samePosition && isClose(actual.width(), requested.width(), tolerance) &&
        isClose(actual.height(), requested.height(), tolerance)) {
        return FrameOutcome::exact();
    }
    if (samePosition) {
        return FrameOutcome::constrained(actual);
    }
    return FrameOutcome::rejected(actual);
}

}  // namespace tilewise::FrameComparison

std::size_t std::hash<tilewise::FrameOutcome>::operator()(
    const tilewise::FrameOutcome& v) const noexcept {
    return tilewise::hashFields(v.kind(), v.actual());
}

#include "app/WindowTarget.h"

std::size_t std::hash<tilewise::WindowTarget>::operator()(
    const tilewise::WindowTarget& v) const noexcept {
    return tilewise::hashFields(v.pid, v.element, v.appName, v.appIcon, v.frame, v.elementHash);
}

std::size_t std::hash<tilewise::ApplyResult>::operator()(
    const tilewise::ApplyResult& v) const noexcept {
    return tilewise::hashFields(v.requested, v.actual, v.outcome, v.applicationLimitsSize);
}

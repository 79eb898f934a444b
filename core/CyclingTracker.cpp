#include "core/CyclingTracker.h"

#include <algorithm>

namespace tilewise {

bool CyclingTracker::isRepeat(const Uuid& layoutID, const std::string& windowKey,
                              const std::vector<DisplayInfo>& displays, bool cyclingEnabled) const {
    return cyclingEnabled && displays.size() >= 2 && last_ && last_->layoutID == layoutID &&
           last_->windowKey == windowKey &&
           std::any_of(displays.begin(), displays.end(),
                       [&](const DisplayInfo& d) { return d.id == last_->displayID; });
}

std::optional<DisplayInfo> CyclingTracker::targetDisplay(const Uuid& layoutID,
                                                         const std::string& windowKey,
                                                         const std::optional<DisplayInfo>& base,
                                                         const std::vector<DisplayInfo>& displays,
                                                         bool cyclingEnabled) const {
    if (isRepeat(layoutID, windowKey, displays, cyclingEnabled)) {
        return DisplayTopology::next(last_->displayID, displays);
    }
    return base;
}

}  // namespace tilewise

std::size_t std::hash<tilewise::CyclingTracker::Record>::operator()(
    const tilewise::CyclingTracker::Record& v) const noexcept {
    return tilewise::hashFields(v.layoutID, v.windowKey, v.displayID, v.appliedFrame);
}
std::size_t std::hash<tilewise::CyclingTracker>::operator()(
    const tilewise::CyclingTracker& v) const noexcept {
    return tilewise::hashFields(v.last());
}

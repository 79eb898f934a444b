#include "platform/sim/SimScreens.h"

#include "core/Displays.h"

namespace tilewise::sim {

double SimScreens::primaryHeight() const {
    return displays_.empty() ? 0 : displays_.front().frame.height();
}

std::vector<Screen> SimScreens::screens() {
    const CoordinateSpace space{primaryHeight()};
    std::vector<Screen> result;
    for (const auto& display : displays_) {
        Screen screen{space.appKitFromTopLeft(display.frame),
                      space.appKitFromTopLeft(display.visibleFrame),
                      display.backingScale,
                      {}};
        if (display.id) {
            screen.deviceDescription.emplace(kNSScreenNumber, std::int64_t{*display.id});
        }
        result.push_back(std::move(screen));
    }
    return result;
}

Point SimScreens::mouseLocation() {
    return {mouseTopLeft_.x, primaryHeight() - mouseTopLeft_.y};
}

std::optional<std::vector<WindowListEntry>> SimScreens::onScreenWindowList() {
    ++windowListQueries_;
    if (!windowListAvailable_) {
        return std::nullopt;
    }
    std::vector<WindowListEntry> windows;
    for (const auto& display : displays_) {
        if (display.menuBarHeight) {
            const Rect& frame = display.frame;
            windows.push_back({kMainMenuLevel, Rect{frame.minX(), frame.minY(), frame.width(),
                                                    *display.menuBarHeight}});
        }
    }
    windows.insert(windows.end(), otherWindows_.begin(), otherWindows_.end());
    return windows;
}

ObserverId SimScreens::observeScreenParameters(std::function<void()> handler) {
    return parameterObservers_.add(std::move(handler));
}

ObserverId SimScreens::observeActiveSpace(std::function<void()> handler) {
    return spaceObservers_.add(std::move(handler));
}

void SimScreens::removeObserver(ObserverId id) {
    parameterObservers_.remove(id);
    spaceObservers_.remove(id);
}

void SimScreens::setDisplays(std::vector<SimDisplay> displays) {
    displays_ = std::move(displays);
    parameterObservers_.publish();
}

void SimScreens::switchSpace() {
    spaceObservers_.publish();
}

}  // namespace tilewise::sim

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

ObserverId SimScreens::add(std::map<ObserverId, std::function<void()>>& observers,
                           std::function<void()> handler) {
    const ObserverId id = nextObserver_++;
    observers.emplace(id, std::move(handler));
    return id;
}

void SimScreens::notify(const std::map<ObserverId, std::function<void()>>& observers) {
    // A copy, so that an observer may remove itself or others while being told.
    const auto current = observers;
    for (const auto& [id, handler] : current) {
        handler();
    }
}

ObserverId SimScreens::observeScreenParameters(std::function<void()> handler) {
    return add(parameterObservers_, std::move(handler));
}

ObserverId SimScreens::observeActiveSpace(std::function<void()> handler) {
    return add(spaceObservers_, std::move(handler));
}

void SimScreens::removeObserver(ObserverId id) {
    parameterObservers_.erase(id);
    spaceObservers_.erase(id);
}

void SimScreens::setDisplays(std::vector<SimDisplay> displays) {
    displays_ = std::move(displays);
    notify(parameterObservers_);
}

void SimScreens::switchSpace() {
    notify(spaceObservers_);
}

}  // namespace tilewise::sim

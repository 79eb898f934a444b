#include "app/DisplayProvider.h"

#include <cmath>
#include <limits>

namespace tilewise {
namespace {

double primaryHeight(const std::vector<Screen>& screens) {
    return screens.empty() ? 0 : screens.front().frame.height();
}

}  // namespace

DisplayProvider::DisplayProvider(Screens& screens) : screens_(screens) {
    // Removed again in the destructor, so the observers never outlive `this`.
    observers_.push_back(screens_.observeScreenParameters([this] {
        cachedMenuBars_.reset();
        if (onChange) {
            onChange();
        }
    }));
    observers_.push_back(screens_.observeActiveSpace([this] { cachedMenuBars_.reset(); }));
}

DisplayProvider::~DisplayProvider() {
    for (const ObserverId id : observers_) {
        screens_.removeObserver(id);
    }
}

std::uint32_t DisplayProvider::displayID(const Screen& screen) {
    const auto entry = screen.deviceDescription.find(kNSScreenNumber);
    if (entry == screen.deviceDescription.end()) {
        return 0;
    }
    const auto number = propertyNumber(entry->second);
    // A number that is not a whole 32-bit unsigned value cannot name a display.
    if (!number || *number < 0 || *number > std::numeric_limits<std::uint32_t>::max() ||
        std::trunc(*number) != *number) {
        return 0;
    }
    return static_cast<std::uint32_t>(*number);
}

std::vector<DisplayInfo> DisplayProvider::displays() {
    return displaysOf(screens_.screens());
}

std::vector<DisplayInfo> DisplayProvider::displaysOf(const std::vector<Screen>& screens) {
    const CoordinateSpace space{primaryHeight(screens)};
    std::vector<DisplayInfo> displays;
    for (const auto& screen : screens) {
        displays.push_back({displayID(screen), space.topLeftFromAppKit(screen.frame),
                            space.topLeftFromAppKit(screen.visibleFrame),
                            screen.backingScaleFactor});
    }
    return DisplayTopology::reservingMenuBars(std::move(displays), menuBars());
}

const std::vector<Rect>& DisplayProvider::menuBars() {
    if (cachedMenuBars_) {
        return *cachedMenuBars_;
    }
    std::vector<Rect> bars;
    if (const auto windows = screens_.onScreenWindowList()) {
        const std::int64_t level = screens_.mainMenuWindowLevel();
        for (const auto& window : *windows) {
            if (window.layer == level && window.bounds) {
                bars.push_back(*window.bounds);
            }
        }
    }
    return cachedMenuBars_.emplace(std::move(bars));
}

std::optional<DisplayInfo> DisplayProvider::displayUnderMouse() {
    // One reading of the screens serves both: on X11 each is a dozen round trips to the server.
    const auto screens = screens_.screens();
    const Point mouse = screens_.mouseLocation();
    const CoordinateSpace space{primaryHeight(screens)};
    return DisplayTopology::displayContaining(space.topLeftFromAppKitPoint(mouse),
                                              displaysOf(screens));
}

std::optional<Screen> DisplayProvider::screen(const DisplayInfo& display) {
    for (auto& screen : screens_.screens()) {
        if (displayID(screen) == display.id) {
            return std::move(screen);
        }
    }
    return std::nullopt;
}

}  // namespace tilewise

#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "core/Displays.h"
#include "platform/Screens.h"

namespace tilewise {

/// The displays as the rest of the system sees them: top-left space, usable areas already
/// below the menu bar. Nothing is kept but the menu-bar rectangles, which are costly to get;
/// every question reads the screens anew. Main thread only.
class DisplayProvider {
  public:
    explicit DisplayProvider(Screens& screens);
    DisplayProvider(const DisplayProvider&) = delete;
    DisplayProvider& operator=(const DisplayProvider&) = delete;
    ~DisplayProvider();

    /// The displays in the platform's order, the primary one first.
    std::vector<DisplayInfo> displays();
    /// The display under the pointer, or the nearest one; absent only without displays.
    std::optional<DisplayInfo> displayUnderMouse();
    /// The first screen whose id is the display's id; absent when none is.
    std::optional<Screen> screen(const DisplayInfo& display);

    /// The display id of a screen: its "NSScreenNumber" as an unsigned 32-bit number, or 0
    /// when missing or not such a number.
    static std::uint32_t displayID(const Screen& screen);

    /// Called after the display configuration changed, once the menu-bar cache is cleared.
    std::function<void()> onChange;

  private:
    std::vector<DisplayInfo> displaysOf(const std::vector<Screen>& screens);
    const std::vector<Rect>& menuBars();

    Screens& screens_;
    std::vector<ObserverId> observers_;
    std::optional<std::vector<Rect>> cachedMenuBars_;
};

}  // namespace tilewise

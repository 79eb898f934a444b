#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "core/Rect.h"
#include "platform/Observation.h"
#include "platform/PropertyValue.h"

namespace tilewise {

/// The device-description key holding a screen's display id (an unsigned 32-bit number).
inline constexpr std::string_view kNSScreenNumber = "NSScreenNumber";
/// The screen's name as its system shows it (on X11 the RandR output's, e.g. "DP-1"), if known.
inline constexpr std::string_view kScreenName = "TilewiseScreenName";

/// One screen in the platform's bottom-left space: origin at the bottom-left corner of the
/// first screen, y growing upwards, in points.
struct Screen {
    Rect frame;
    Rect visibleFrame;  ///< the frame without the menu bar, docks and panels
    double backingScaleFactor = 1;
    PropertyDictionary deviceDescription;  ///< holds kNSScreenNumber when the id is known

    bool operator==(const Screen&) const = default;
};

/// One entry of the window server's list of on-screen windows. A field is absent when the
/// window server gave no value of the expected type for it.
struct WindowListEntry {
    std::optional<std::int64_t> layer;
    std::optional<Rect> bounds;  ///< in the top-left space, as the window server reports it
};

/// The screens, the pointer and the window server's view of the desktop. Main thread only;
/// observers run on the main thread.
class Screens {
  public:
    Screens() = default;
    Screens(const Screens&) = delete;
    Screens& operator=(const Screens&) = delete;
    virtual ~Screens() = default;

    /// The screens, the one holding the origin of the bottom-left space first; empty when
    /// there are none or they cannot be read.
    virtual std::vector<Screen> screens() = 0;
    /// The pointer in the bottom-left space; (0, 0) when it cannot be read.
    virtual Point mouseLocation() = 0;
    /// The window level of the main menu bar (CGWindowLevelForKey with the main-menu key).
    virtual std::int64_t mainMenuWindowLevel() = 0;
    /// The on-screen windows, front to back; absent when the list cannot be obtained. A
    /// backend without a global menu bar simply lists no window at the main-menu level.
    virtual std::optional<std::vector<WindowListEntry>> onScreenWindowList() = 0;

    /// Calls `handler` after screens were added, removed, moved or resized, or their usable
    /// areas changed.
    virtual ObserverId observeScreenParameters(std::function<void()> handler) = 0;
    /// Calls `handler` after the user switched to another desktop (space).
    virtual ObserverId observeActiveSpace(std::function<void()> handler) = 0;
    /// Removes an observer; unknown ids and kNoObserver are ignored.
    virtual void removeObserver(ObserverId id) = 0;
};

}  // namespace tilewise

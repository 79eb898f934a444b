#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/Rect.h"

namespace tilewise::x11 {

/// One monitor in root coordinates.
struct Monitor {
    std::uint32_t id = 0;  ///< the RandR output id; a Xinerama head's number plus one
    Rect frame;
    std::string name;  ///< the RandR monitor's name (its output's, e.g. "DP-1"); empty for a head
    bool operator==(const Monitor&) const = default;
};

/// The monitors, the primary one first: RandR 1.5 monitors, or the Xinerama heads when RandR
/// does not cover them (a nested server such as Xephyr offers real Xinerama heads while its
/// RandR knows only the first); the whole root window when neither answers.
std::vector<Monitor> readMonitors(Display* display);

}  // namespace tilewise::x11

#pragma once

#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Rect.h"

namespace tilewise::sim {

/// One simulated display, its rectangles in the top-left space.
struct SimDisplay {
    std::optional<std::uint32_t> id;  ///< absent: the screen has no "NSScreenNumber"
    Rect frame;
    Rect visibleFrame;
    double backingScale = 1;
    std::optional<double> menuBarHeight;  ///< a menu-bar window across the top of the display

    bool operator==(const SimDisplay&) const = default;
};

/// Reads displays from a description such as
/// "1440x900+0+0 visible 0,25,1440,875 menubar 25; 1920x1080+1440+0 scale 2 id 7".
/// Each display starts with WIDTHxHEIGHT+X+Y (top-left space) and may be followed by
/// `visible X,Y,W,H`, `scale S`, `id N`, `noid` and `menubar H`; displays are separated by
/// ";" or ",". Without `visible` the usable area is the frame; without `id` the id is the
/// display's position counted from 1. On malformed text, a message naming the bad part.
std::expected<std::vector<SimDisplay>, std::string> parseDisplays(std::string_view description);

}  // namespace tilewise::sim

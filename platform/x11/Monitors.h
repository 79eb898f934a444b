#pragma once

#include <X11/Xlib.h>
#include <xcb/randr.h>
#include <xcb/xinerama.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/Rect.h"
#include "platform/x11/XcbReply.h"

namespace tilewise::x11 {

/// One monitor in root coordinates.
struct Monitor {
    std::uint32_t id = 0;  ///< the RandR output id; a Xinerama head's number plus one
    Rect frame;
    std::string name;  ///< the RandR monitor's name (its output's, e.g. "DP-1"); empty for a head
    bool operator==(const Monitor&) const = default;
};

/// Asks, without waiting, whether the server has the extensions the monitors are read with:
/// the answers come with the connection's next round trip, whoever makes it.
void prefetchMonitorExtensions(xcb_connection_t* connection);

/// The monitors, the primary one first: RandR 1.5 monitors, or the Xinerama heads when RandR
/// does not cover them (a nested server such as Xephyr offers real Xinerama heads while its
/// RandR knows only the first); the whole root window when neither answers. Every request goes
/// out on construction, so that they share a round trip with whatever else is sent before the
/// first answer is used; the monitors' names take one more.
class MonitorsRead {
  public:
    explicit MonitorsRead(Display* display);

    std::vector<Monitor> monitors();
    /// The root window's size now (Xlib's own figure is the one at connection time).
    Size rootSize();

  private:
    std::vector<Monitor> randrMonitors();
    std::vector<Monitor> xineramaHeads();

    Display* display_;
    xcb_connection_t* connection_;
    XcbReply<xcb_get_geometry_reply> root_;
    std::optional<XcbReply<xcb_randr_get_monitors_reply>> randr_;
    std::optional<XcbReply<xcb_xinerama_is_active_reply>> xineramaActive_;
    std::optional<XcbReply<xcb_xinerama_query_screens_reply>> heads_;
};

}  // namespace tilewise::x11

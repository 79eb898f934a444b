#include "platform/x11/Monitors.h"

#include <X11/Xlib-xcb.h>

#include <algorithm>

#include "platform/x11/Properties.h"

namespace tilewise::x11 {
namespace {

bool present(xcb_connection_t* connection, xcb_extension_t* extension) {
    const xcb_query_extension_reply_t* data = xcb_get_extension_data(connection, extension);
    return data != nullptr && data->present;
}

bool inside(const Rect& inner, const Rect& outer) {
    return inner.minX() >= outer.minX() && inner.minY() >= outer.minY() &&
           inner.maxX() <= outer.maxX() && inner.maxY() <= outer.maxY();
}

// RandR's monitors are right unless a Xinerama head lies outside all of them. A monitor made
// of two tiles shows as two heads inside one monitor, which keeps RandR's view.
bool coversHeads(const std::vector<Monitor>& monitors, const std::vector<Monitor>& heads) {
    return std::all_of(heads.begin(), heads.end(), [&](const Monitor& head) {
        return std::any_of(monitors.begin(), monitors.end(), [&](const Monitor& monitor) {
            return inside(head.frame, monitor.frame);
        });
    });
}

}  // namespace

void prefetchMonitorExtensions(xcb_connection_t* connection) {
    xcb_prefetch_extension_data(connection, &xcb_randr_id);
    xcb_prefetch_extension_data(connection, &xcb_xinerama_id);
}

// A server whose RandR is older than 1.5 answers the monitors request with an error, which
// reads as no monitors.
MonitorsRead::MonitorsRead(Display* display)
    : display_(display),
      connection_(XGetXCBConnection(display)),
      root_(connection_, xcb_get_geometry(connection_, DefaultRootWindow(display))) {
    prefetchMonitorExtensions(connection_);
    const auto root = static_cast<xcb_window_t>(DefaultRootWindow(display));
    if (present(connection_, &xcb_randr_id))
        randr_.emplace(connection_, xcb_randr_get_monitors(connection_, root, 1));
    if (present(connection_, &xcb_xinerama_id)) {
        xineramaActive_.emplace(connection_, xcb_xinerama_is_active(connection_));
        heads_.emplace(connection_, xcb_xinerama_query_screens(connection_));
    }
}

std::vector<Monitor> MonitorsRead::randrMonitors() {
    const xcb_randr_get_monitors_reply_t* reply = randr_ ? randr_->get() : nullptr;
    if (reply == nullptr)
        return {};
    std::vector<Monitor> monitors;
    // The name requests all go out before the first is awaited.
    std::vector<XcbReply<xcb_get_atom_name_reply>> names;
    std::optional<size_t> primary;
    auto each = xcb_randr_get_monitors_monitors_iterator(reply);
    for (; each.rem > 0; xcb_randr_monitor_info_next(&each)) {
        const xcb_randr_monitor_info_t& info = *each.data;
        const auto id = info.nOutput > 0 ? *xcb_randr_monitor_info_outputs(each.data)
                                         : static_cast<std::uint32_t>(monitors.size() + 1);
        if (info.primary)
            primary = monitors.size();
        monitors.push_back({id, Rect(info.x, info.y, info.width, info.height), {}});
        names.emplace_back(connection_, xcb_get_atom_name(connection_, info.name));
    }
    for (size_t index = 0; index < monitors.size(); ++index) {
        if (const auto* name = names[index].get()) {
            monitors[index].name.assign(xcb_get_atom_name_name(name),
                                        static_cast<size_t>(xcb_get_atom_name_name_length(name)));
        }
    }
    if (primary) {
        std::rotate(monitors.begin(), monitors.begin() + static_cast<long>(*primary),
                    monitors.begin() + static_cast<long>(*primary) + 1);
    }
    return monitors;
}

std::vector<Monitor> MonitorsRead::xineramaHeads() {
    const auto* active = xineramaActive_ ? xineramaActive_->get() : nullptr;
    const auto* reply = heads_ ? heads_->get() : nullptr;
    if (active == nullptr || active->state == 0 || reply == nullptr)
        return {};
    const xcb_xinerama_screen_info_t* heads = xcb_xinerama_query_screens_screen_info(reply);
    const int count = xcb_xinerama_query_screens_screen_info_length(reply);
    std::vector<Monitor> monitors;
    for (int index = 0; index < count; ++index) {
        monitors.push_back(
            {static_cast<std::uint32_t>(index + 1),
             Rect(heads[index].x_org, heads[index].y_org, heads[index].width, heads[index].height),
             {}});
    }
    return monitors;
}

std::vector<Monitor> MonitorsRead::monitors() {
    auto monitors = randrMonitors();
    const auto heads = xineramaHeads();
    if (monitors.empty() || !coversHeads(monitors, heads))
        monitors = heads;
    if (monitors.empty())
        monitors.push_back({1, Rect(Point{0, 0}, rootSize()), {}});
    return monitors;
}

Size MonitorsRead::rootSize() {
    if (const auto* root = root_.get())
        return {static_cast<double>(root->width), static_cast<double>(root->height)};
    Properties::noticeLostServer(display_);
    const int screen = DefaultScreen(display_);
    return {static_cast<double>(DisplayWidth(display_, screen)),
            static_cast<double>(DisplayHeight(display_, screen))};
}

}  // namespace tilewise::x11

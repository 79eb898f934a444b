#include "platform/x11/Monitors.h"

#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>

#include "platform/x11/ErrorTrap.h"

namespace tilewise::x11 {
namespace {

std::vector<Monitor> randrMonitors(Display* display) {
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase) ||
        !XRRQueryVersion(display, &major, &minor) || major < 1 || (major == 1 && minor < 5)) {
        return {};
    }
    ErrorTrap trap(display);
    int count = 0;
    XRRMonitorInfo* infos = XRRGetMonitors(display, DefaultRootWindow(display), True, &count);
    std::vector<Monitor> monitors;
    for (int index = 0; infos != nullptr && index < count; ++index) {
        const XRRMonitorInfo& info = infos[index];
        const std::uint32_t id = info.noutput > 0 ? static_cast<std::uint32_t>(info.outputs[0])
                                                  : static_cast<std::uint32_t>(index + 1);
        Monitor monitor{id, Rect(info.x, info.y, info.width, info.height), {}};
        if (char* name = info.name != None ? XGetAtomName(display, info.name) : nullptr) {
            monitor.name = name;
            XFree(name);
        }
        if (info.primary) {
            monitors.insert(monitors.begin(), monitor);
        } else {
            monitors.push_back(monitor);
        }
    }
    if (infos != nullptr)
        XRRFreeMonitors(infos);
    return monitors;
}

std::vector<Monitor> xineramaHeads(Display* display) {
    int eventBase = 0, errorBase = 0;
    if (!XineramaQueryExtension(display, &eventBase, &errorBase) || !XineramaIsActive(display)) {
        return {};
    }
    int count = 0;
    XineramaScreenInfo* heads = XineramaQueryScreens(display, &count);
    std::vector<Monitor> monitors;
    for (int index = 0; heads != nullptr && index < count; ++index) {
        monitors.push_back(
            {static_cast<std::uint32_t>(heads[index].screen_number + 1),
             Rect(heads[index].x_org, heads[index].y_org, heads[index].width, heads[index].height),
             {}});
    }
    if (heads != nullptr)
        XFree(heads);
    return monitors;
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

std::vector<Monitor> readMonitors(Display* display) {
    auto monitors = randrMonitors(display);
    const auto heads = xineramaHeads(display);
    if (monitors.empty() || !coversHeads(monitors, heads))
        monitors = heads;
    if (monitors.empty()) {
        const int screen = DefaultScreen(display);
        monitors.push_back(
            {1, Rect(0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)), {}});
    }
    return monitors;
}

}  // namespace tilewise::x11

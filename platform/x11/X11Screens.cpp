#include "platform/x11/X11Screens.h"

#include "platform/x11/Monitors.h"
#include "platform/x11/Properties.h"
#include "platform/x11/ScreenChangeEvents.h"
#include "platform/x11/UsableAreas.h"

namespace tilewise::x11 {
X11Screens::X11Screens(Display* display, const Atoms& atoms, X11EventLoop& events)
    : display_(display),
      atoms_(atoms),
      events_(events),
      randrEventBase_(ScreenChangeEvents::select(display)) {
    listener_ = events_.listen([this](const XEvent& event) { handle(event); });
}

X11Screens::~X11Screens() {
    events_.unlisten(listener_);
}

const X11Screens::Layout& X11Screens::layout() {
    if (!layout_) {
        MonitorsRead monitorsRead(display_);
        UsableAreasRead usableRead(display_, atoms_);
        auto monitors = monitorsRead.monitors();
        auto usable = usableRead.areas(monitors, monitorsRead.rootSize());
        layout_ = Layout{std::move(monitors), std::move(usable)};
    }
    return *layout_;
}

double X11Screens::primaryHeight() {
    const auto& monitors = layout().monitors;
    return monitors.empty() ? 0 : monitors.front().frame.height();
}

std::vector<Screen> X11Screens::screens() {
    const auto& [monitors, usable] = layout();
    const double height = primaryHeight();
    // The bottom-left space mirrors root coordinates about the first screen's height.
    const auto flip = [height](const Rect& rect) {
        return Rect(rect.minX(), height - rect.maxY(), rect.width(), rect.height());
    };
    std::vector<Screen> result;
    for (size_t index = 0; index < monitors.size(); ++index) {
        Screen screen;
        screen.frame = flip(monitors[index].frame);
        screen.visibleFrame = flip(usable[index]);
        // Root coordinates are device pixels, so frames snap to whole pixels whatever the
        // desktop's scale setting (Xft.dpi, GDK_SCALE), which only sizes drawn content.
        screen.backingScaleFactor = 1;
        screen.deviceDescription.emplace(std::string(kNSScreenNumber),
                                         static_cast<std::int64_t>(monitors[index].id));
        if (!monitors[index].name.empty()) {
            screen.deviceDescription.emplace(std::string(kScreenName), monitors[index].name);
        }
        result.push_back(std::move(screen));
    }
    return result;
}

Point X11Screens::mouseLocation() {
    if (Properties::noticeLostServer(display_))
        return {0, 0};
    Window rootReturn = None, child = None;
    int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
    unsigned mask = 0;
    if (!XQueryPointer(display_, DefaultRootWindow(display_), &rootReturn, &child, &rootX, &rootY,
                       &windowX, &windowY, &mask)) {
        return {0, 0};
    }
    return {static_cast<double>(rootX), primaryHeight() - rootY};
}

ObserverId X11Screens::observeScreenParameters(std::function<void()> handler) {
    return parameterObservers_.add(std::move(handler));
}

ObserverId X11Screens::observeActiveSpace(std::function<void()> handler) {
    return spaceObservers_.add(std::move(handler));
}

void X11Screens::removeObserver(ObserverId id) {
    parameterObservers_.remove(id);
    spaceObservers_.remove(id);
}

void X11Screens::handle(const XEvent& event) {
    if (randrEventBase_ && ScreenChangeEvents::isChange(event, *randrEventBase_)) {
        layout_.reset();
        parameterObservers_.publish();
        return;
    }
    if (event.type != PropertyNotify || event.xproperty.window != DefaultRootWindow(display_))
        return;
    // Work areas, the current desktop, the clients whose docks reserve space: all are root
    // properties, and reading them again is cheap beside telling them apart.
    layout_.reset();
    // Docks coming and going change the work area, which changes the usable areas.
    if (event.xproperty.atom == atoms_.netWorkarea)
        parameterObservers_.publish();
    if (event.xproperty.atom == atoms_.netCurrentDesktop)
        spaceObservers_.publish();
}

}  // namespace tilewise::x11

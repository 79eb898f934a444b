#include "bench/X11ServerDrawnGrid.h"

#include <vector>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace tilewise {

struct X11ServerDrawnGrid::Window {
    ~Window() {
        if (gc != nullptr)
            XFreeGC(display, gc);
        if (window != 0)
            XDestroyWindow(display, window);
        if (colormap != 0)
            XFreeColormap(display, colormap);
        XCloseDisplay(display);
    }

    Display* display = nullptr;
    Colormap colormap = 0;
    ::Window window = 0;
    GC gc = nullptr;
};

X11ServerDrawnGrid::X11ServerDrawnGrid() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return;
    auto opened = std::make_unique<Window>();
    opened->display = display;
    const int screen = DefaultScreen(display);
    const ::Window root = RootWindow(display, screen);
    XVisualInfo visual;
    if (XMatchVisualInfo(display, screen, 32, TrueColor, &visual) == 0)
        return;
    opened->colormap = XCreateColormap(display, root, visual.visual, AllocNone);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.colormap = opened->colormap;
    attributes.border_pixel = 0;
    attributes.background_pixel = 0;
    attributes.event_mask = StructureNotifyMask;
    opened->window = XCreateWindow(
        display, root, 0, 0, static_cast<unsigned>(DisplayWidth(display, screen)),
        static_cast<unsigned>(DisplayHeight(display, screen)), 0, 32, InputOutput, visual.visual,
        CWOverrideRedirect | CWColormap | CWBorderPixel | CWBackPixel | CWEventMask, &attributes);
    opened->gc = XCreateGC(display, opened->window, 0, nullptr);
    XMapRaised(display, opened->window);
    XEvent event;
    XIfEvent(
        display, &event,
        [](Display*, XEvent* candidate, XPointer) -> int { return candidate->type == MapNotify; },
        nullptr);
    window_ = std::move(opened);
}

X11ServerDrawnGrid::~X11ServerDrawnGrid() = default;

bool X11ServerDrawnGrid::isOpen() const {
    return window_ != nullptr;
}

void X11ServerDrawnGrid::fill(const QRegion& bands, std::uint32_t argb) {
    std::vector<XRectangle> rectangles;
    for (const QRect& band : bands) {
        rectangles.push_back({static_cast<short>(band.x()), static_cast<short>(band.y()),
                              static_cast<unsigned short>(band.width()),
                              static_cast<unsigned short>(band.height())});
    }
    XSetForeground(window_->display, window_->gc, argb);
    XFillRectangles(window_->display, window_->window, window_->gc, rectangles.data(),
                    static_cast<int>(rectangles.size()));
    XFlush(window_->display);
}

}  // namespace tilewise

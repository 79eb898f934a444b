#include "bench/X11ScreenProbe.h"

// Qt's headers must come before Xlib's, which define Bool, Status and CursorShape as macros.
#include <QGuiApplication>
#include <cstdlib>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "platform/x11/X11PanelPlatform.h"

namespace tilewise {

struct X11ScreenProbe::Connection {
    explicit Connection(Display* opened) : display(opened), panel(opened) {}
    ~Connection() { XCloseDisplay(display); }

    Display* display;
    x11::X11PanelPlatform panel;
};

X11ScreenProbe::X11ScreenProbe() {
    if (Display* display = XOpenDisplay(nullptr))
        connection_ = std::make_unique<Connection>(display);
}

X11ScreenProbe::~X11ScreenProbe() = default;

bool X11ScreenProbe::isOpen() const {
    return connection_ != nullptr;
}

Rect X11ScreenProbe::screenFrame() const {
    Display* display = connection_->display;
    return Rect{0, 0, static_cast<double>(DisplayWidth(display, DefaultScreen(display))),
                static_cast<double>(DisplayHeight(display, DefaultScreen(display)))};
}

PanelPlatform& X11ScreenProbe::panelPlatform() {
    return connection_->panel;
}

bool X11ScreenProbe::near(Colour one, Colour other) {
    constexpr int kTolerance = 12;
    return std::abs(one.red - other.red) <= kTolerance &&
           std::abs(one.green - other.green) <= kTolerance &&
           std::abs(one.blue - other.blue) <= kTolerance;
}

// A reply to GetImage comes after the server has carried out every request before it, from every
// client, and holds the pixels the screen shows.
X11ScreenProbe::Colour X11ScreenProbe::pixelAt(QPoint point) {
    Display* display = connection_->display;
    XImage* image = XGetImage(display, DefaultRootWindow(display), point.x(), point.y(), 1, 1,
                              AllPlanes, ZPixmap);
    if (image == nullptr)
        return {-1, -1, -1};
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return {static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
            static_cast<int>(pixel & 0xFF)};
}

bool X11ScreenProbe::waitForPixel(QPoint point, const std::function<bool(Colour)>& wanted,
                                  std::chrono::milliseconds timeout,
                                  const std::function<void()>& turn) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        turn();
        if (wanted(pixelAt(point)))
            return true;
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

void X11ScreenProbe::syncQtConnection() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 != nullptr && x11->display() != nullptr)
        XSync(x11->display(), False);
}

}  // namespace tilewise

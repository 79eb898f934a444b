#pragma once

#include <QPoint>
#include <chrono>
#include <functional>
#include <memory>

#include "core/Rect.h"
#include "platform/PanelPlatform.h"

namespace tilewise {

/// What the X server shows, seen through a connection of its own: the end of a frame is when the
/// screen itself has the pixels, drawn by the server or by a compositing manager, not when the
/// program has handed them over.
class X11ScreenProbe {
  public:
    struct Colour {
        int red = 0, green = 0, blue = 0;
    };

    X11ScreenProbe();
    ~X11ScreenProbe();
    X11ScreenProbe(const X11ScreenProbe&) = delete;
    X11ScreenProbe& operator=(const X11ScreenProbe&) = delete;

    bool isOpen() const;
    /// The first screen's size in pixels, from the top-left corner.
    Rect screenFrame() const;
    /// The panel's questions answered by this server (whether a compositing manager runs).
    PanelPlatform& panelPlatform();

    /// Whether two colours differ by no more than rounding and smoothing do.
    static bool near(Colour one, Colour other);
    /// The colour the screen shows at `point`.
    Colour pixelAt(QPoint point);
    /// Until the screen's pixel at `point` is `wanted` or `timeout` passes, calling `turn` before
    /// each look; true when it was.
    bool waitForPixel(QPoint point, const std::function<bool(Colour)>& wanted,
                      std::chrono::milliseconds timeout, const std::function<void()>& turn);
    /// Sends what Qt's own connection holds and waits until the server has carried it all out.
    static void syncQtConnection();

  private:
    struct Connection;
    std::unique_ptr<Connection> connection_;
};

}  // namespace tilewise

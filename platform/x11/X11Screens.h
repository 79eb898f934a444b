#pragma once

#include <map>
#include <optional>
#include <vector>

#include "platform/Publisher.h"
#include "platform/Screens.h"
#include "platform/x11/Atoms.h"
#include "platform/x11/Monitors.h"
#include "platform/x11/X11EventLoop.h"

namespace tilewise::x11 {

/// The monitors as screens in the bottom-left space, defined with the first screen's height so
/// that converting to the top-left space gives root coordinates back exactly. The backing
/// scale is 1: root coordinates are device pixels. Monitors and usable areas are read once and
/// kept until the server tells of a change (RandR, or a property of the root window).
class X11Screens final : public Screens {
  public:
    X11Screens(Display* display, const Atoms& atoms, X11EventLoop& events);
    ~X11Screens() override;

    std::vector<Screen> screens() override;
    Point mouseLocation() override;
    /// The macOS main-menu level; no X11 window sits there, as there is no global menu bar.
    std::int64_t mainMenuWindowLevel() override { return 24; }
    std::optional<std::vector<WindowListEntry>> onScreenWindowList() override {
        return std::vector<WindowListEntry>{};
    }
    ObserverId observeScreenParameters(std::function<void()> handler) override;
    ObserverId observeActiveSpace(std::function<void()> handler) override;
    void removeObserver(ObserverId id) override;

  private:
    struct Layout {
        std::vector<Monitor> monitors;
        std::vector<Rect> usable;  ///< in the monitors' order
    };

    void handle(const XEvent& event);
    const Layout& layout();
    double primaryHeight();

    Display* display_;
    const Atoms& atoms_;
    X11EventLoop& events_;
    std::uint64_t listener_ = 0;
    std::optional<int> randrEventBase_;
    std::optional<Layout> layout_;
    Publisher<> parameterObservers_;
    Publisher<> spaceObservers_;
};

}  // namespace tilewise::x11

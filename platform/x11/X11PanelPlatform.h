#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <optional>

#include "platform/PanelPlatform.h"
#include "platform/x11/X11EventLoop.h"

namespace tilewise::x11 {

/// The panel's window-system questions answered from the X server: the compositing manager's
/// selection, stacking and the evdev numbering of key codes.
class X11PanelPlatform final : public PanelPlatform {
  public:
    /// With `events`, the compositing manager is watched, so that `onCompositorGone` is called.
    explicit X11PanelPlatform(Display* display, X11EventLoop* events = nullptr);
    ~X11PanelPlatform() override;

    bool compositorRunning() override;
    std::optional<std::uint16_t> virtualKeyCode(std::uint32_t nativeScanCode) override;
    Modifiers standardCommandModifier() override { return Modifiers::control; }
    void stackBelow(std::uint64_t window, std::uint64_t sibling) override;
    bool coveredByOthers(std::uint64_t window, std::span<const std::uint64_t> own) override;

  private:
    void watch(Window owner);

    Display* display_;
    X11EventLoop* events_;
    std::uint64_t listener_ = 0;
    Window watchedOwner_ = None;
};

}  // namespace tilewise::x11

#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <optional>

#include "platform/PanelPlatform.h"

namespace tilewise::x11 {

/// The panel's window-system questions answered from the X server: the compositing manager's
/// selection, stacking and the evdev numbering of key codes.
class X11PanelPlatform final : public PanelPlatform {
  public:
    explicit X11PanelPlatform(Display* display) : display_(display) {}

    bool compositorRunning() override;
    std::optional<std::uint16_t> virtualKeyCode(std::uint32_t nativeScanCode) override;
    Modifiers standardCommandModifier() override { return Modifiers::control; }
    void stackBelow(std::uint64_t window, std::uint64_t sibling) override;

  private:
    Display* display_;
};

}  // namespace tilewise::x11

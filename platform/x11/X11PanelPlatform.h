#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/PanelPlatform.h"

namespace tilewise::x11 {

/// The panel's window-system questions answered from the X server: the compositing manager's
/// selection, the desktop's XSETTINGS and the evdev numbering of key codes.
class X11PanelPlatform final : public PanelPlatform {
  public:
    explicit X11PanelPlatform(Display* display) : display_(display) {}

    bool compositorRunning() override;
    bool prefersReducedMotion() override;
    std::optional<std::uint16_t> virtualKeyCode(std::uint32_t nativeScanCode) override;
    Modifiers standardCommandModifier() override { return Modifiers::control; }
    void stackBelow(std::uint64_t window, std::uint64_t sibling) override;

    /// The integer setting `name` of an XSETTINGS blob (the _XSETTINGS_SETTINGS property);
    /// absent when the blob is malformed or has no integer of that name.
    static std::optional<std::int32_t> integerSetting(const std::vector<unsigned char>& blob,
                                                      std::string_view name);

  private:
    Display* display_;
};

}  // namespace tilewise::x11

#pragma once

#include <X11/Xlib.h>

#include "platform/KeyboardLayout.h"

namespace tilewise::x11 {

/// What the current XKB layout group types for a key at its first level: letters as typed
/// (the caller upper-cases them), nothing for a dead key. The key is found by position
/// through the macOS-to-evdev table; a key without a position is paramErr.
class X11KeyboardLayout final : public KeyboardLayout {
  public:
    explicit X11KeyboardLayout(Display* display) : display_(display) {}

    std::optional<KeyTranslation> translate(std::uint16_t keyCode) override;

  private:
    Display* display_;
};

}  // namespace tilewise::x11

#pragma once

#include <cstdint>
#include <optional>

namespace tilewise::x11 {

/// The key positions behind the macOS virtual key codes that settings files and Divvy archives
/// store: each code names a physical key, which Linux names by its evdev code. The X server
/// numbers the same key evdev + 8.
namespace VirtualKeyCodes {

/// The evdev code of the key at the position of `virtualKeyCode`; absent for a code that no
/// key of a Linux keyboard corresponds to.
std::optional<std::uint16_t> evdevCode(std::uint16_t virtualKeyCode);
/// The macOS virtual key code of the key with evdev code `evdev`; absent when none has one.
std::optional<std::uint16_t> virtualKeyCode(std::uint16_t evdev);

/// The X keycode of the key at the position of `virtualKeyCode`, for servers that number keys
/// as the evdev driver does (every current X server).
std::optional<std::uint8_t> xKeycode(std::uint16_t virtualKeyCode);

}  // namespace VirtualKeyCodes
}  // namespace tilewise::x11

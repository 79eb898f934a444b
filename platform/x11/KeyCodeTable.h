#pragma once

#include <cstdint>
#include <optional>

namespace tilewise::x11 {

/// macOS virtual key codes (as settings files and Divvy archives store them) and Linux evdev
/// key codes (the key positions X11 keyboards are built on: X keycode = evdev code + 8).
namespace KeyCodeTable {

std::optional<std::uint16_t> evdevFromMac(std::uint16_t macKeyCode);
std::optional<std::uint16_t> macFromEvdev(std::uint16_t evdevCode);

inline constexpr std::uint16_t kXKeycodeOffset = 8;

}  // namespace KeyCodeTable
}  // namespace tilewise::x11

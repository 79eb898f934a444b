#pragma once

#include <Qt>
#include <cstdint>
#include <functional>
#include <optional>

#include "core/KeyCombo.h"

class QKeyEvent;

namespace tilewise {

/// The key position of a native scan code, as the platform tells it.
using VirtualKeyCodeOf = std::function<std::optional<std::uint16_t>(std::uint32_t nativeScanCode)>;

/// The held modifiers: Ctrl as control, Alt as option, Shift, Super as command.
Modifiers modifiersOf(Qt::KeyboardModifiers held);

/// The shortcut a key press makes: the key's position and the held modifiers. Absent for a key
/// without a known position and for a press of a modifier key alone.
std::optional<KeyCombo> keyComboOf(const QKeyEvent& event, const VirtualKeyCodeOf& virtualKeyCode);

}  // namespace tilewise

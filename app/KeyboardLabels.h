#pragma once

#include <cstdint>
#include <string>

#include "core/KeyCombo.h"
#include "platform/KeyboardLayout.h"

namespace tilewise {

/// Names of keys as the user's keyboard layout prints them, for menus, lists and the
/// shortcut recorder.
namespace KeyboardLabels {

/// The label of a key, never empty: a fixed name for special keys, else what the current
/// layout types for it in upper case, else its US-ANSI label, else "Key " and the code.
std::string keyName(std::uint16_t keyCode, KeyboardLayout& layout);

/// A shortcut as menus and the preferences show it: the modifiers followed by the key's name.
std::string shortcutName(const KeyCombo& combo, KeyboardLayout& layout);

}  // namespace KeyboardLabels

}  // namespace tilewise

#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/HotKeys.h"

namespace tilewise {

/// What the current keyboard layout types for one key: a status and up to four UTF-16 units.
struct KeyTranslation {
    OSStatus status = noErr;
    std::u16string characters;  ///< empty for a dead key or a key that types nothing
};

/// The user's current keyboard layout. Main thread only.
class KeyboardLayout {
  public:
    KeyboardLayout() = default;
    KeyboardLayout(const KeyboardLayout&) = delete;
    KeyboardLayout& operator=(const KeyboardLayout&) = delete;
    virtual ~KeyboardLayout() = default;

    /// Translates a macOS virtual key code the way UCKeyTranslate does with the display
    /// action, no modifiers, the current keyboard type, no options and a fresh dead-key state,
    /// into at most four UTF-16 units. Absent when there is no current layout or it has no
    /// key-layout data; a non-zero status when the key cannot be translated.
    virtual std::optional<KeyTranslation> translate(std::uint16_t keyCode) = 0;
};

}  // namespace tilewise

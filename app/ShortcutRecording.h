#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/KeyCombo.h"

namespace tilewise {

/// What the shortcut recorder does with the key pressed while it records. It only records:
/// whether the result is acceptable as a shortcut is judged and shown elsewhere.
namespace ShortcutRecording {

inline constexpr std::uint16_t kEscapeKeyCode = 53;
inline constexpr std::uint16_t kDeleteKeyCode = 51;
inline constexpr std::uint16_t kForwardDeleteKeyCode = 117;

enum class Action {
    cancel,  ///< stop, the shortcut unchanged
    clear,   ///< stop, the shortcut removed
    record,  ///< stop, the pressed combination is the new shortcut
};

/// Plain Escape cancels, plain Delete or Forward Delete clears; any other press, including
/// those keys with a modifier and plain keys without one, is recorded.
Action actionFor(const KeyCombo& pressed);

/// The recorder's title: "Type shortcut…" while recording, "Record Shortcut" without a
/// shortcut, else the shortcut's text.
std::string title(bool isRecording, const std::optional<KeyCombo>& combo,
                  const std::function<std::string(const KeyCombo&)>& shortcutText);

}  // namespace ShortcutRecording
}  // namespace tilewise

#include "app/ShortcutRecording.h"

namespace tilewise::ShortcutRecording {

Action actionFor(const KeyCombo& pressed) {
    if (!pressed.modifiers.isEmpty())
        return Action::record;
    switch (pressed.keyCode) {
        case kEscapeKeyCode:
            return Action::cancel;
        case kDeleteKeyCode:
        case kForwardDeleteKeyCode:
            return Action::clear;
        default:
            return Action::record;
    }
}

std::string title(bool isRecording, const std::optional<KeyCombo>& combo,
                  const std::function<std::string(const KeyCombo&)>& shortcutText) {
    if (isRecording)
        return "Type shortcut…";
    if (!combo)
        return "Record Shortcut";
    return shortcutText(*combo);
}

}  // namespace tilewise::ShortcutRecording

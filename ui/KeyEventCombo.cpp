#include "ui/KeyEventCombo.h"

#include <QKeyEvent>
#include <algorithm>

namespace tilewise {

Modifiers modifiersOf(Qt::KeyboardModifiers held) {
    Modifiers modifiers;
    if (held.testFlag(Qt::ShiftModifier))
        modifiers.insert(Modifiers::shift);
    if (held.testFlag(Qt::ControlModifier))
        modifiers.insert(Modifiers::control);
    if (held.testFlag(Qt::AltModifier))
        modifiers.insert(Modifiers::option);
    if (held.testFlag(Qt::MetaModifier))
        modifiers.insert(Modifiers::command);
    return modifiers;
}

std::optional<KeyCombo> keyComboOf(const QKeyEvent& event, const VirtualKeyCodeOf& virtualKeyCode) {
    const auto keyCode = virtualKeyCode ? virtualKeyCode(event.nativeScanCode()) : std::nullopt;
    const auto& modifierKeys = KeyCombo::reservedKeyCodes();
    if (!keyCode || std::ranges::find(modifierKeys, *keyCode) != modifierKeys.end())
        return std::nullopt;
    return KeyCombo{*keyCode, modifiersOf(event.modifiers())};
}

}  // namespace tilewise

#include "platform/x11/X11KeyboardLayout.h"

#include <QString>
#include <X11/XKBlib.h>
#include <xkbcommon/xkbcommon.h>

#include "platform/x11/KeyCodeTable.h"

namespace tilewise::x11 {
std::optional<KeyTranslation> X11KeyboardLayout::translate(std::uint16_t keyCode) {
    const auto evdev = KeyCodeTable::evdevFromMac(keyCode);
    if (!evdev) return KeyTranslation{paramErr, {}};
    XkbStateRec state{};
    if (XkbGetState(display_, XkbUseCoreKbd, &state) != Success) return std::nullopt;
    const KeySym keysym = XkbKeycodeToKeysym(
        display_, static_cast<KeyCode>(*evdev + KeyCodeTable::kXKeycodeOffset), state.group, 0);
    if (keysym == NoSymbol) return KeyTranslation{paramErr, {}};
    // Dead keys and keys that type nothing give no characters, as on the Mac.
    char utf8[16] = {};
    if (xkb_keysym_to_utf8(static_cast<xkb_keysym_t>(keysym), utf8, sizeof utf8) <= 0) {
        return KeyTranslation{noErr, {}};
    }
    auto characters = QString::fromUtf8(utf8).toStdU16String();
    // Control characters (Return, Tab, Escape…) are not labels.
    if (!characters.empty() && characters.front() < 0x20) characters.clear();
    return KeyTranslation{noErr, characters.substr(0, 4)};
}

}  // namespace tilewise::x11

#include "platform/x11/SystemShortcuts.h"

#include <X11/XF86keysym.h>
#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/KeyCombo.h"
#include "platform/HotKeys.h"
#include "platform/x11/VirtualKeyCodes.h"

namespace tilewise::x11 {
namespace {

bool isSystemAction(KeySym keysym) {
    if (keysym >= XF86XK_Switch_VT_1 && keysym <= XF86XK_Switch_VT_12)
        return true;
    static constexpr std::array<KeySym, 7> actions{
        XK_Terminate_Server, XF86XK_Ungrab,      XF86XK_ClearGrab,    XF86XK_Next_VMode,
        XF86XK_Prev_VMode,   XF86XK_LogGrabInfo, XF86XK_LogWindowTree};
    return std::ranges::find(actions, keysym) != actions.end();
}

// Every combination of the four modifiers a shortcut can hold, as Carbon flags.
std::vector<std::uint32_t> modifierCombinations() {
    const std::array<std::uint32_t, 4> single{
        Modifiers::command.carbonFlags(), Modifiers::shift.carbonFlags(),
        Modifiers::option.carbonFlags(), Modifiers::control.carbonFlags()};
    std::vector<std::uint32_t> combinations;
    for (unsigned subset = 0; subset < 16; ++subset) {
        std::uint32_t flags = 0;
        for (unsigned bit = 0; bit < single.size(); ++bit) {
            if ((subset & (1U << bit)) != 0)
                flags |= single[bit];
        }
        combinations.push_back(flags);
    }
    return combinations;
}

}  // namespace

std::vector<PropertyDictionary> systemShortcuts(Display* display, const ModifierMasks& masks) {
    std::vector<PropertyDictionary> shortcuts;
    const auto combinations = modifierCombinations();
    // The lookups use Xlib's copy of the keymap: no round trip per key.
    for (std::uint16_t virtualKey = 0; virtualKey < 128; ++virtualKey) {
        const auto keycode = VirtualKeyCodes::xKeycode(virtualKey);
        if (!keycode)
            continue;
        for (const std::uint32_t flags : combinations) {
            unsigned consumed = 0;
            KeySym keysym = NoSymbol;
            if (!XkbLookupKeySym(display, *keycode, masks.fromCarbon(flags), &consumed, &keysym) ||
                !isSystemAction(keysym)) {
                continue;
            }
            shortcuts.push_back({{std::string{kHISymbolicHotKeyCode}, std::int64_t{virtualKey}},
                                 {std::string{kHISymbolicHotKeyModifiers}, std::int64_t{flags}},
                                 {std::string{kHISymbolicHotKeyEnabled}, true}});
        }
    }
    return shortcuts;
}

}  // namespace tilewise::x11

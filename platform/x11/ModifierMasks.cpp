#include "platform/x11/ModifierMasks.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include <algorithm>
#include <array>
#include <utility>

#include "core/KeyCombo.h"

namespace tilewise::x11 {
namespace {

constexpr unsigned kModifierStates =
    ShiftMask | LockMask | ControlMask | Mod1Mask | Mod2Mask | Mod3Mask | Mod4Mask | Mod5Mask;

// The mask of the first modifier that holds a key carrying one of `keysyms`, 0 if none does.
unsigned maskHolding(Display* display, const XModifierKeymap& map,
                     std::initializer_list<KeySym> keysyms) {
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int slot = 0; slot < map.max_keypermod; ++slot) {
            const KeyCode keycode = map.modifiermap[modifier * map.max_keypermod + slot];
            if (keycode == 0)
                continue;
            const KeySym keysym = XkbKeycodeToKeysym(display, keycode, 0, 0);
            if (std::ranges::find(keysyms, keysym) != keysyms.end())
                return 1u << modifier;
        }
    }
    return 0;
}

}  // namespace

ModifierMasks ModifierMasks::read(Display* display) {
    ModifierMasks masks;
    XModifierKeymap* map = XGetModifierMapping(display);
    if (map == nullptr)
        return masks;
    // Shift, Lock and Control are fixed by the protocol; only Mod1…Mod5 move.
    if (const unsigned alt = maskHolding(display, *map, {XK_Alt_L, XK_Alt_R, XK_Meta_L})) {
        masks.alt = alt;
    }
    if (const unsigned super = maskHolding(display, *map, {XK_Super_L, XK_Super_R})) {
        masks.super = super;
    }
    masks.numLock = maskHolding(display, *map, {XK_Num_Lock});
    masks.scrollLock = maskHolding(display, *map, {XK_Scroll_Lock});
    XFreeModifiermap(map);
    return masks;
}

unsigned ModifierMasks::fromCarbon(std::uint32_t carbonFlags) const {
    const std::array<std::pair<Modifiers, unsigned>, 4> masks{{
        {Modifiers::command, super},
        {Modifiers::shift, unsigned{ShiftMask}},
        {Modifiers::option, alt},
        {Modifiers::control, unsigned{ControlMask}},
    }};
    unsigned state = 0;
    for (const auto& [modifier, mask] : masks) {
        if ((carbonFlags & modifier.carbonFlags()) != 0)
            state |= mask;
    }
    return state;
}

std::vector<unsigned> ModifierMasks::lockVariants() const {
    std::vector<unsigned> variants{0};
    for (const unsigned lock : {unsigned{LockMask}, numLock, scrollLock}) {
        // A lock that shares its modifier with Alt or Super cannot be told apart from it.
        if (lock == 0 || (lock & (alt | super)) != 0 ||
            std::ranges::find(variants, lock) != variants.end()) {
            continue;
        }
        const auto count = variants.size();
        for (std::size_t index = 0; index < count; ++index)
            variants.push_back(variants[index] | lock);
    }
    return variants;
}

unsigned ModifierMasks::withoutLocks(unsigned state) const {
    const std::array locks{unsigned{LockMask}, numLock, scrollLock};
    unsigned ignored = 0;
    for (const unsigned lock : locks) {
        if ((lock & (alt | super)) == 0)
            ignored |= lock;
    }
    return state & kModifierStates & ~ignored;
}

}  // namespace tilewise::x11

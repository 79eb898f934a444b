#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <vector>

namespace tilewise::x11 {

/// Where the current modifier map puts the keys a hot key cares about. Alt, Super, Num Lock
/// and Scroll Lock may sit on any of Mod1…Mod5, so the masks are read from the server and read
/// again whenever the keyboard mapping changes.
struct ModifierMasks {
    unsigned alt = Mod1Mask;
    unsigned super = Mod4Mask;
    unsigned numLock = 0;     ///< 0 when no modifier holds Num Lock
    unsigned scrollLock = 0;  ///< 0 when no modifier holds Scroll Lock

    /// The masks of the server's current modifier map.
    static ModifierMasks read(Display* display);

    /// The X modifier state for Carbon modifier flags (command 0x100, shift 0x200, option
    /// 0x800, control 0x1000); other bits are ignored.
    unsigned fromCarbon(std::uint32_t carbonFlags) const;
    /// Every combination of the lock modifiers (Caps, Num, Scroll), the empty one first.
    std::vector<unsigned> lockVariants() const;
    /// `state` without lock modifiers, mouse buttons and anything else a hot key ignores.
    unsigned withoutLocks(unsigned state) const;
};

}  // namespace tilewise::x11

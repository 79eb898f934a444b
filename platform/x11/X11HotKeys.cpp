#include "platform/x11/X11HotKeys.h"

#include <X11/XKBlib.h>
#include <X11/Xproto.h>
#include <X11/keysym.h>

#include <algorithm>

#include "platform/Log.h"
#include "platform/x11/ErrorTrap.h"
#include "platform/x11/KeyCodeTable.h"

namespace tilewise::x11 {
namespace {

constexpr std::uint32_t kCarbonCommand = 0x100, kCarbonShift = 0x200, kCarbonOption = 0x800,
                        kCarbonControl = 0x1000;

// Command is the Super key (Mod4 on every common keymap), Option is Alt (Mod1).
unsigned xModifiers(std::uint32_t carbon) {
    unsigned mask = 0;
    if (carbon & kCarbonCommand) mask |= Mod4Mask;
    if (carbon & kCarbonShift) mask |= ShiftMask;
    if (carbon & kCarbonOption) mask |= Mod1Mask;
    if (carbon & kCarbonControl) mask |= ControlMask;
    return mask;
}

unsigned maskOfKeysym(Display* display, KeySym keysym) {
    const KeyCode keycode = XKeysymToKeycode(display, keysym);
    if (keycode == 0) return 0;
    XModifierKeymap* map = XGetModifierMapping(display);
    unsigned mask = 0;
    for (int modifier = 0; modifier < 8 && mask == 0; ++modifier) {
        for (int key = 0; key < map->max_keypermod; ++key) {
            if (map->modifiermap[modifier * map->max_keypermod + key] == keycode) {
                mask = 1u << modifier;
            }
        }
    }
    XFreeModifiermap(map);
    return mask;
}

}  // namespace

X11HotKeys::X11HotKeys(Display* display, X11EventLoop& events) : display_(display), events_(events) {
    Bool supported = False;
    XkbSetDetectableAutoRepeat(display_, True, &supported);
    readLockMasks();
    listener_ = events_.listen([this](const XEvent& event) { handle(event); });
}

X11HotKeys::~X11HotKeys() {
    events_.unlisten(listener_);
    for (const auto& [ref, grab] : grabs_) ungrab(grab);
    XFlush(display_);
}

std::array<unsigned, 8> X11HotKeys::lockVariants() const {
    return {0u, unsigned(LockMask), numLock_, scrollLock_, LockMask | numLock_,
            LockMask | scrollLock_, numLock_ | scrollLock_, LockMask | numLock_ | scrollLock_};
}

void X11HotKeys::readLockMasks() {
    numLock_ = maskOfKeysym(display_, XK_Num_Lock);
    scrollLock_ = maskOfKeysym(display_, XK_Scroll_Lock);
}

EventHandlerInstallation X11HotKeys::installEventHandler(HotKeyEventHandler handler) {
    const auto ref = nextRef_++;
    handlers_.emplace(ref, std::move(handler));
    return {noErr, ref};
}

OSStatus X11HotKeys::removeEventHandler(EventHandlerRef handler) {
    return handlers_.erase(handler) > 0 ? noErr : paramErr;
}

bool X11HotKeys::grab(const Grab& grab) {
    ErrorTrap trap(display_);
    for (const unsigned locks : lockVariants()) {
        XGrabKey(display_, static_cast<int>(grab.keycode), grab.modifiers | locks,
                 DefaultRootWindow(display_), True, GrabModeAsync, GrabModeAsync);
    }
    const auto error = trap.check();
    if (!error) return true;
    // One variant taken by another client fails the whole combination.
    ungrab(grab);
    return false;
}

void X11HotKeys::ungrab(const Grab& grab) {
    ErrorTrap trap(display_);
    for (const unsigned locks : lockVariants()) {
        XUngrabKey(display_, static_cast<int>(grab.keycode), grab.modifiers | locks,
                   DefaultRootWindow(display_));
    }
}

HotKeyRegistration X11HotKeys::registerEventHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                                   EventHotKeyID id, std::uint32_t) {
    const auto evdev = keyCode <= 0xFFFF ? KeyCodeTable::evdevFromMac(static_cast<std::uint16_t>(keyCode))
                                         : std::nullopt;
    if (!evdev) return {eventHotKeyInvalidErr, 0};
    const Grab wanted{static_cast<unsigned>(*evdev + KeyCodeTable::kXKeycodeOffset),
                      xModifiers(modifiers), id};
    // The server lets one client grab a combination twice; a second registration of ours is
    // a conflict all the same.
    const bool ours = std::any_of(grabs_.begin(), grabs_.end(), [&](const auto& entry) {
        return entry.second.keycode == wanted.keycode && entry.second.modifiers == wanted.modifiers;
    });
    if (ours || !grab(wanted)) return {eventHotKeyExistsErr, 0};
    const auto ref = nextRef_++;
    grabs_.emplace(ref, wanted);
    return {noErr, ref};
}

OSStatus X11HotKeys::unregisterEventHotKey(EventHotKeyRef ref) {
    const auto found = grabs_.find(ref);
    if (found == grabs_.end()) return paramErr;
    ungrab(found->second);
    XFlush(display_);
    grabs_.erase(found);
    return noErr;
}

void X11HotKeys::handle(const XEvent& event) {
    if (event.type == MappingNotify) {
        // Keycodes and the lock keys' modifiers may have moved: grab everything anew.
        XRefreshKeyboardMapping(const_cast<XMappingEvent*>(&event.xmapping));
        for (const auto& [ref, grab] : grabs_) ungrab(grab);
        readLockMasks();
        for (const auto& [ref, held] : grabs_) {
            if (!grab(held)) Log::error(LogCategory::hotkeys, "a hot key was lost to another client after a keyboard change");
        }
        return;
    }
    if (event.type != KeyPress && event.type != KeyRelease) return;
    const unsigned significant = ShiftMask | ControlMask | Mod1Mask | Mod4Mask;
    // The release of a hot key often comes after its modifiers were released: match it by key.
    const auto found = std::find_if(grabs_.begin(), grabs_.end(), [&](const auto& entry) {
        return entry.second.keycode == event.xkey.keycode &&
               (event.type == KeyRelease || entry.second.modifiers == (event.xkey.state & significant));
    });
    if (found == grabs_.end()) return;
    const HotKeyEvent hotKeyEvent{kEventClassKeyboard,
                                  event.type == KeyPress ? kEventHotKeyPressed : kEventHotKeyReleased,
                                  found->second.id};
    const auto snapshot = handlers_;
    for (const auto& [ref, handler] : snapshot) {
        if (handler(hotKeyEvent) == noErr) break;
    }
}

}  // namespace tilewise::x11

#include "platform/x11/X11HotKeys.h"

#include <X11/XKBlib.h>
#include <X11/Xproto.h>
#include <X11/extensions/XInput.h>
#include <X11/extensions/XInput2.h>

#include <algorithm>
#include <string>

#include "platform/Log.h"
#include "platform/SharedLibrary.h"
#include "platform/x11/ErrorTrap.h"
#include "platform/x11/SystemShortcuts.h"
#include "platform/x11/VirtualKeyCodes.h"

namespace tilewise::x11 {
namespace {

// Carbon's status for a failure inside the event system itself, here the X connection.
constexpr OSStatus eventInternalErr = -9868;

std::string describe(const XRequestError& error) {
    return "X error " + std::to_string(error.errorCode) + " on request " +
           std::to_string(error.requestCode);
}

// The X Input extension's library, opened with the hot keys: only the resident application
// has any.
struct InputLibrary {
    SharedLibrary library{"libXi.so.6"};
    TILEWISE_LIBRARY_FUNCTION(XGetExtensionVersion);
    TILEWISE_LIBRARY_FUNCTION(XIQueryVersion);
    TILEWISE_LIBRARY_FUNCTION(XISelectEvents);
};

const InputLibrary& input() {
    static const InputLibrary library;
    return library;
}

}  // namespace

X11HotKeys::X11HotKeys(X11Connection connection, Scheduler& scheduler)
    : connection_(std::move(connection)), scheduler_(scheduler) {
    Display* display = connection_.display();
    masks_ = ModifierMasks::read(display);
    XDisplayKeycodes(display, &minKeycode_, &maxKeycode_);
    watchRawReleases();
    int opcode = 0, errorBase = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
    if (!XkbQueryExtension(display, &opcode, &xkbEventBase_, &errorBase, &major, &minor)) {
        xkbEventBase_ = -1;
        Log::error(LogCategory::hotkeys,
                   "The X server has no keyboard extension: a held hot key repeats its release");
        return;
    }
    // A new keyboard can renumber keys; the core MappingNotify covers the modifier map.
    const unsigned long watched = XkbNewKeyboardNotifyMask | XkbMapNotifyMask;
    XkbSelectEvents(display, XkbUseCoreKbd, watched, watched);
    // Without this the server sends a release before every repeated press, and a held
    // shortcut would look like many quick presses.
    Bool supported = False;
    XkbSetDetectableAutoRepeat(display, True, &supported);
    if (!supported) {
        Log::error(LogCategory::hotkeys, "The X server cannot tell key repeats from presses");
    }
}

X11HotKeys::~X11HotKeys() {
    if (queuedProcessing_)
        scheduler_.cancel(*queuedProcessing_);
}

EventHandlerInstallation X11HotKeys::installEventHandler(HotKeyEventHandler handler) {
    return handlers_.install(std::move(handler));
}

OSStatus X11HotKeys::removeEventHandler(EventHandlerRef handler) {
    return handlers_.remove(handler);
}

HotKeyRegistration X11HotKeys::registerEventHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                                   EventHotKeyID id, std::uint32_t options) {
    if (connection_.broken())
        return {eventInternalErr, 0};
    const auto combination = combinationFor(keyCode, modifiers);
    if (!combination)
        return {eventHotKeyInvalidErr, 0};
    // The server lets a client grab its own key again, so our own conflicts are found here.
    if (isInUse(*combination)) {
        if ((options & kEventHotKeyExclusive) != 0)
            return {eventHotKeyExistsErr, 0};
    } else if (const OSStatus status = grab(*combination); status != noErr) {
        return {status, 0};
    }
    const EventHotKeyRef ref = nextRef_++;
    registrations_.emplace(ref, Registration{keyCode, modifiers, id, *combination});
    processEventsLeftQueued();
    return {noErr, ref};
}

OSStatus X11HotKeys::unregisterEventHotKey(EventHotKeyRef ref) {
    const auto found = registrations_.find(ref);
    if (found == registrations_.end())
        return paramErr;
    const Combination combination = found->second.combination;
    registrations_.erase(found);
    if (!isInUse(combination))
        ungrab(combination);
    processEventsLeftQueued();
    return noErr;
}

SymbolicHotKeys X11HotKeys::copySymbolicHotKeys() {
    // Each window manager and desktop keeps its own bindings in its own format (openbox's
    // rc.xml, GNOME's dconf, KDE's kglobalshortcutsrc, or none at all), and none of them can
    // be read reliably from here; a key they hold shows up as a conflict when grabbed instead.
    // What the keymap itself binds to the server or the console is known, and never fires.
    if (connection_.broken())
        return {eventInternalErr, std::nullopt};
    return {noErr, systemShortcuts(connection_.display(), masks_)};
}

void X11HotKeys::processEvents() {
    if (queuedProcessing_) {
        scheduler_.cancel(*queuedProcessing_);
        queuedProcessing_.reset();
    }
    Display* display = connection_.display();
    if (connection_.broken())
        return;
    XSync(display, False);
    while (!connection_.broken() && XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        handle(event);
    }
}

void X11HotKeys::watchFromEventLoop() {
    watch_ = scheduler_.watchReadable(ConnectionNumber(connection_.display()), [this] {
        processEvents();
        // A lost server keeps the socket readable forever.
        if (connection_.broken())
            watch_->stop();
    });
}

std::optional<X11HotKeys::Combination> X11HotKeys::combinationFor(
    std::uint32_t keyCode, std::uint32_t carbonModifiers) const {
    const auto keycode = VirtualKeyCodes::xKeycode(static_cast<std::uint16_t>(keyCode));
    if (keyCode > 0xFFFF || !keycode || *keycode < minKeycode_ || *keycode > maxKeycode_) {
        return std::nullopt;
    }
    return Combination{*keycode, masks_.fromCarbon(carbonModifiers)};
}

OSStatus X11HotKeys::grab(Combination combination) {
    Display* display = connection_.display();
    ErrorTrap trap(display);
    for (const unsigned lock : masks_.lockVariants()) {
        XGrabKey(display, static_cast<int>(combination.first), combination.second | lock,
                 connection_.root(), True, GrabModeAsync, GrabModeAsync);
    }
    const auto error = trap.check();
    if (!error)
        return noErr;
    // Releasing a variant that another client holds leaves that client's grab alone, so every
    // variant can be released without knowing which ones were ours.
    ungrab(combination);
    if (error->errorCode == BadAccess && error->requestCode == X_GrabKey) {
        return eventHotKeyExistsErr;
    }
    Log::error(LogCategory::hotkeys, "Grabbing a hot key failed: " + describe(*error));
    return eventInternalErr;
}

void X11HotKeys::ungrab(Combination combination) {
    Display* display = connection_.display();
    ErrorTrap trap(display);
    for (const unsigned lock : masks_.lockVariants()) {
        XUngrabKey(display, static_cast<int>(combination.first), combination.second | lock,
                   connection_.root());
    }
    if (const auto error = trap.check()) {
        Log::error(LogCategory::hotkeys, "Releasing a hot key failed: " + describe(*error));
    }
}

bool X11HotKeys::isInUse(Combination combination) const {
    return std::ranges::any_of(
        registrations_, [&](const auto& entry) { return entry.second.combination == combination; });
}

void X11HotKeys::regrabAll() {
    std::vector<Combination> previous;
    for (const auto& [ref, registration] : registrations_) {
        previous.push_back(registration.combination);
    }
    // The old grabs were made with the old lock masks: release them before reading new ones.
    for (const Combination& combination : previous)
        ungrab(combination);
    masks_ = ModifierMasks::read(connection_.display());
    XDisplayKeycodes(connection_.display(), &minKeycode_, &maxKeycode_);
    std::vector<Combination> grabbed;
    for (auto& [ref, registration] : registrations_) {
        const auto combination = combinationFor(registration.keyCode, registration.carbonModifiers);
        if (!combination) {
            Log::error(LogCategory::hotkeys, "A hot key has no key on the new keyboard");
            continue;
        }
        registration.combination = *combination;
        if (std::ranges::find(grabbed, *combination) != grabbed.end())
            continue;
        grabbed.push_back(*combination);
        if (grab(*combination) != noErr) {
            Log::error(LogCategory::hotkeys,
                       "A hot key was taken by another application while the keyboard changed");
        }
    }
}

void X11HotKeys::watchRawReleases() {
    Display* display = connection_.display();
    const InputLibrary& xi = input();
    int event = 0, error = 0, major = 2, minor = 1;
    bool available = false;
    // libXi keeps what it learns of the extension on first use and dereferences it without a
    // check in XIQueryVersion: a server going away during that first use (its extensions are
    // closed before its clients) would crash it. XGetExtensionVersion makes that first use and
    // checks the result; a server lost in here ends the process with its sentence.
    connection_.endProcessIfLostDuring([&] {
        if (!xi.library.complete())
            return;
        XExtensionVersion* version = xi.XGetExtensionVersion(display, INAME);
        const bool present = version != nullptr &&
                             version != reinterpret_cast<XExtensionVersion*>(NoSuchExtension) &&
                             version->present;
        if (version != nullptr && version != reinterpret_cast<XExtensionVersion*>(NoSuchExtension))
            XFree(version);
        available = present &&
                    XQueryExtension(display, "XInputExtension", &xiOpcode_, &event, &error) &&
                    xi.XIQueryVersion(display, &major, &minor) == Success;
    });
    if (!available || connection_.broken()) {
        xiOpcode_ = -1;
        return;
    }
    // Raw events reach the root whoever holds the keyboard, so the release of a hot key is
    // seen after its grab was handed back on the press.
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyRelease);
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
    xi.XISelectEvents(display, connection_.root(), &mask, 1);
}

void X11HotKeys::handle(XEvent& event) {
    if (event.type == GenericEvent && event.xcookie.extension == xiOpcode_) {
        if (XGetEventData(connection_.display(), &event.xcookie)) {
            if (event.xcookie.evtype == XI_RawKeyRelease) {
                onKeyRelease(static_cast<const XIRawEvent*>(event.xcookie.data)->detail);
            }
            XFreeEventData(connection_.display(), &event.xcookie);
        }
    } else if (event.type == KeyPress) {
        onKeyPress(event.xkey);
    } else if (event.type == KeyRelease) {
        onKeyRelease(static_cast<int>(event.xkey.keycode));
    } else if (event.type == MappingNotify) {
        XRefreshKeyboardMapping(&event.xmapping);
        if (event.xmapping.request != MappingPointer)
            regrabAll();
    } else if (xkbEventBase_ >= 0 && event.type == xkbEventBase_ + XkbEventCode) {
        const auto& xkb = reinterpret_cast<const XkbAnyEvent&>(event);
        if (xkb.xkb_type == XkbNewKeyboardNotify || xkb.xkb_type == XkbMapNotify) {
            XkbRefreshKeyboardMapping(reinterpret_cast<XkbMapNotifyEvent*>(&event));
            regrabAll();
        }
    }
}

void X11HotKeys::onKeyPress(const XKeyEvent& event) {
    const Combination pressed{event.keycode, masks_.withoutLocks(event.state)};
    std::vector<EventHotKeyRef> refs;
    std::vector<EventHotKeyID> ids;
    for (const auto& [ref, registration] : registrations_) {
        if (registration.combination != pressed)
            continue;
        refs.push_back(ref);
        ids.push_back(registration.id);
    }
    if (refs.empty())
        return;
    if (xiOpcode_ >= 0) {
        // The press made our passive grab the active one; handing it back at once lets a
        // panel that this shortcut opens take the keyboard, as global-shortcut daemons do.
        // Later presses of the held key come back through the grab as repeats.
        XUngrabKeyboard(connection_.display(), event.time);
        XFlush(connection_.display());
    }
    keysDown_[event.keycode] = std::move(refs);
    deliver(kEventHotKeyPressed, ids);
}

void X11HotKeys::onKeyRelease(int keycode) {
    // The modifiers often go up first, so the release is matched by its key alone. The core
    // and the raw release of one key may both arrive; the first one counts.
    const auto down = keysDown_.find(static_cast<unsigned>(keycode));
    if (down == keysDown_.end())
        return;
    std::vector<EventHotKeyID> ids;
    for (const EventHotKeyRef ref : down->second) {
        // A hot key unregistered while held gets no release.
        if (const auto found = registrations_.find(ref); found != registrations_.end()) {
            ids.push_back(found->second.id);
        }
    }
    keysDown_.erase(down);
    deliver(kEventHotKeyReleased, ids);
}

void X11HotKeys::deliver(std::uint32_t kind, const std::vector<EventHotKeyID>& ids) {
    for (const EventHotKeyID& id : ids)
        handlers_.deliver({kEventClassKeyboard, kind, id});
}

void X11HotKeys::processEventsLeftQueued() {
    // A round trip of ours may have read key events into Xlib's queue; the socket then has
    // nothing new to report, so the event loop would not look at them until the next event.
    if (queuedProcessing_ || XQLength(connection_.display()) == 0)
        return;
    queuedProcessing_ = scheduler_.post([this] {
        queuedProcessing_.reset();
        processEvents();
    });
}

}  // namespace tilewise::x11

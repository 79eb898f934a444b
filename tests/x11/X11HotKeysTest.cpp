// Qt's headers must come before Xlib's, whose macros (Bool, Status, KeyPress) they use as names.
#include <QCoreApplication>
#include <QElapsedTimer>

// Before Xlib too: the service's Status type would meet Xlib's Status macro.
#include "app/HotKeyService.h"
#include "platform/QtScheduler.h"

#include "platform/x11/X11HotKeys.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>

#include "core/KeyCombo.h"
#include "platform/ManualScheduler.h"
#include "platform/x11/ErrorTrap.h"
#include "platform/x11/ModifierMasks.h"
#include "platform/x11/OpenX11Platform.h"
#include "tests/x11/support/X11TestSupport.h"

namespace tilewise::testing {
namespace {

using x11::X11HotKeys;

constexpr std::uint32_t kSignature = fourCharCode("TLWS");
constexpr std::uint32_t kKeyK = 40;  // macOS virtual key code of K
const std::uint32_t kControl = Modifiers::control.carbonFlags();
const std::uint32_t kControlOption = Modifiers{Modifiers::control, Modifiers::option}.carbonFlags();

x11::X11Connection connectionOfItsOwn() {
    auto connection = x11::X11Connection::open();
    if (!connection)
        std::abort();
    return std::move(*connection);
}

class X11HotKeysTest : public X11Test {
  protected:
    X11HotKeysTest() {
        hotKeys.installEventHandler([this](const HotKeyEvent& event) {
            events.push_back(event);
            return noErr;
        });
    }
    ~X11HotKeysTest() override {
        XkbLockModifiers(display(), XkbUseCoreKbd, allLocks(), 0);
        XSync(display(), False);
    }

    KeyCode keycode(KeySym keysym) { return XKeysymToKeycode(display(), keysym); }

    // Through XTEST, as a real keyboard would: the server matches passive grabs against it.
    void fake(KeyCode key, bool down) {
        XTestFakeKeyEvent(display(), key, down ? True : False, CurrentTime);
        XSync(display(), False);
    }
    void typeControlAltK() {
        for (const KeySym key : {XK_Control_L, XK_Alt_L, XK_k})
            fake(keycode(key), true);
        for (const KeySym key : {XK_k, XK_Alt_L, XK_Control_L})
            fake(keycode(key), false);
    }
    void lock(unsigned mask, bool on) {
        XkbLockModifiers(display(), XkbUseCoreKbd, mask, on ? mask : 0);
        XSync(display(), False);
    }
    unsigned allLocks() {
        const auto masks = x11::ModifierMasks::read(display());
        return LockMask | masks.numLock | masks.scrollLock;
    }

    EventHotKeyRef registerControlOptionK(std::uint32_t id) {
        const auto registration = hotKeys.registerEventHotKey(
            kKeyK, kControlOption, {kSignature, id}, kEventHotKeyExclusive);
        EXPECT_EQ(registration.status, noErr);
        return registration.ref;
    }

    std::vector<std::uint32_t> kinds() const {
        std::vector<std::uint32_t> result;
        for (const auto& event : events)
            result.push_back(event.kind);
        return result;
    }

    ManualScheduler scheduler;
    X11HotKeys hotKeys{connectionOfItsOwn(), scheduler};
    std::vector<HotKeyEvent> events;
};

// Whether another client can take every lock variant of Control+Option+K right now.
bool anotherClientCanGrabControlAltK(Display* display) {
    const auto masks = x11::ModifierMasks::read(display);
    const int key = XKeysymToKeycode(display, XK_k);
    x11::ErrorTrap trap(display);
    for (const unsigned variant : masks.lockVariants()) {
        XGrabKey(display, key, ControlMask | masks.alt | variant, DefaultRootWindow(display), True,
                 GrabModeAsync, GrabModeAsync);
    }
    const bool granted = !trap.check().has_value();
    for (const unsigned variant : masks.lockVariants()) {
        XUngrabKey(display, key, ControlMask | masks.alt | variant, DefaultRootWindow(display));
    }
    return granted;
}

TEST_F(X11HotKeysTest, APressAndAReleaseReachTheHandlerWithTheHotKeysId) {
    registerControlOptionK(7);
    typeControlAltK();
    typeControlAltK();
    hotKeys.processEvents();
    ASSERT_EQ(kinds(), (std::vector{kEventHotKeyPressed, kEventHotKeyReleased, kEventHotKeyPressed,
                                    kEventHotKeyReleased}));
    for (const auto& event : events) {
        EXPECT_EQ(event.eventClass, kEventClassKeyboard);
        EXPECT_EQ(event.hotKeyID, (EventHotKeyID{kSignature, 7}));
    }
}

TEST_F(X11HotKeysTest, OtherModifiersOrKeysDoNotFire) {
    registerControlOptionK(1);
    for (const KeySym key : {XK_Control_L, XK_k})
        fake(keycode(key), true);
    for (const KeySym key : {XK_k, XK_Control_L})
        fake(keycode(key), false);
    for (const KeySym key : {XK_Control_L, XK_Alt_L, XK_j})
        fake(keycode(key), true);
    for (const KeySym key : {XK_j, XK_Alt_L, XK_Control_L})
        fake(keycode(key), false);
    hotKeys.processEvents();
    EXPECT_TRUE(events.empty());
}

TEST_F(X11HotKeysTest, FiresWhateverLockKeysAreOn) {
    registerControlOptionK(3);
    const auto masks = x11::ModifierMasks::read(display());
    ASSERT_NE(masks.numLock, 0u) << "the test server's keymap has a Num Lock modifier";
    for (const unsigned locks : {unsigned{LockMask}, masks.numLock, LockMask | masks.numLock}) {
        events.clear();
        lock(locks, true);
        typeControlAltK();
        hotKeys.processEvents();
        lock(locks, false);
        EXPECT_EQ(kinds(), (std::vector{kEventHotKeyPressed, kEventHotKeyReleased}))
            << "with lock modifiers " << locks;
    }
}

TEST_F(X11HotKeysTest, AKeyGrabbedByAnotherClientIsAConflictAndLeavesNoGrabBehind) {
    // The other client holds only the Num Lock variant, so ours gets the others first and
    // must let them go again.
    const auto masks = x11::ModifierMasks::read(display());
    ASSERT_NE(masks.numLock, 0u);
    const int key = keycode(XK_k);
    XGrabKey(display(), key, ControlMask | masks.alt | masks.numLock, root(), True, GrabModeAsync,
             GrabModeAsync);
    XSync(display(), False);

    const auto registration =
        hotKeys.registerEventHotKey(kKeyK, kControlOption, {kSignature, 1}, kEventHotKeyExclusive);
    EXPECT_EQ(registration.status, eventHotKeyExistsErr);
    EXPECT_EQ(registration.ref, 0u);

    XUngrabKey(display(), key, ControlMask | masks.alt | masks.numLock, root());
    XSync(display(), False);
    auto third = x11::X11Connection::open();
    ASSERT_TRUE(third.has_value());
    EXPECT_TRUE(anotherClientCanGrabControlAltK(third->display()));
}

TEST_F(X11HotKeysTest, OurOwnCombinationAgainIsAConflictOnlyWhenExclusive) {
    registerControlOptionK(1);
    EXPECT_EQ(
        hotKeys.registerEventHotKey(kKeyK, kControlOption, {kSignature, 2}, kEventHotKeyExclusive)
            .status,
        eventHotKeyExistsErr);
    const auto shared = hotKeys.registerEventHotKey(kKeyK, kControlOption, {kSignature, 3}, 0);
    ASSERT_EQ(shared.status, noErr);
    EXPECT_NE(shared.ref, 0u);
    typeControlAltK();
    hotKeys.processEvents();
    std::vector<std::uint32_t> pressedIds;
    for (const auto& event : events) {
        if (event.kind == kEventHotKeyPressed)
            pressedIds.push_back(event.hotKeyID->id);
    }
    EXPECT_EQ(pressedIds, (std::vector<std::uint32_t>{1, 3}));
}

TEST_F(X11HotKeysTest, UnregisteringReleasesTheGrabAndAnUnknownReferenceIsAParameterError) {
    const auto ref = registerControlOptionK(1);
    EXPECT_FALSE(anotherClientCanGrabControlAltK(display()));
    EXPECT_EQ(hotKeys.unregisterEventHotKey(ref), noErr);
    EXPECT_TRUE(anotherClientCanGrabControlAltK(display()));
    EXPECT_EQ(hotKeys.unregisterEventHotKey(ref), paramErr);
    EXPECT_EQ(hotKeys.registerEventHotKey(1000, kControl, {kSignature, 2}, 0).status,
              eventHotKeyInvalidErr);
}

TEST_F(X11HotKeysTest, TheReleaseOfAHotKeyUnregisteredWhileHeldIsIgnored) {
    const auto ref = registerControlOptionK(1);
    for (const KeySym key : {XK_Control_L, XK_Alt_L, XK_k})
        fake(keycode(key), true);
    hotKeys.processEvents();
    ASSERT_EQ(kinds(), std::vector{kEventHotKeyPressed});
    ASSERT_EQ(hotKeys.unregisterEventHotKey(ref), noErr);
    for (const KeySym key : {XK_k, XK_Alt_L, XK_Control_L})
        fake(keycode(key), false);
    hotKeys.processEvents();
    typeControlAltK();
    hotKeys.processEvents();
    EXPECT_EQ(kinds(), std::vector{kEventHotKeyPressed});
}

TEST_F(X11HotKeysTest, HotKeysFollowTheLockModifierWhenTheModifierMapChanges) {
    registerControlOptionK(1);
    // Move Num Lock from its modifier to Mod3, which nothing uses on the default keymap.
    XModifierKeymap* original = XGetModifierMapping(display());
    XModifierKeymap* moved = XGetModifierMapping(display());
    const KeyCode numLock = keycode(XK_Num_Lock);
    for (int modifier = 0; modifier < 8; ++modifier) {
        moved = XDeleteModifiermapEntry(moved, numLock, modifier);
    }
    moved = XInsertModifiermapEntry(moved, numLock, Mod3MapIndex);
    ASSERT_EQ(XSetModifierMapping(display(), moved), MappingSuccess);
    XSync(display(), False);
    ASSERT_EQ(x11::ModifierMasks::read(display()).numLock, unsigned{Mod3Mask});

    hotKeys.processEvents();
    lock(Mod3Mask, true);
    typeControlAltK();
    hotKeys.processEvents();
    lock(Mod3Mask, false);
    XSetModifierMapping(display(), original);
    XFreeModifiermap(original);
    XFreeModifiermap(moved);
    XSync(display(), False);
    EXPECT_EQ(kinds(), (std::vector{kEventHotKeyPressed, kEventHotKeyReleased}));
}

TEST_F(X11HotKeysTest, KeyEventsReadDuringARegistrationAreHandledSoonAfter) {
    registerControlOptionK(1);
    typeControlAltK();
    // Registering makes round trips, which read the key events into the connection's queue
    // where the event loop's socket watch cannot see them.
    const auto other = hotKeys.registerEventHotKey(kKeyK, kControl, {kSignature, 2}, 0);
    ASSERT_EQ(other.status, noErr);
    EXPECT_TRUE(events.empty());
    scheduler.runDue();
    EXPECT_EQ(kinds(), (std::vector{kEventHotKeyPressed, kEventHotKeyReleased}));
}

class X11HotKeysEventLoopTest : public X11HotKeysTest {
  protected:
    // Spins both main loops, the fixture's scheduler and Qt's (the platform's), until `done`
    // holds; the deadline only guards against a hang.
    bool processEventsUntil(const std::function<bool()>& done) {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < kServerTimeout.count()) {
            scheduler.runDue();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return done();
    }

    int argc = 1;
    char name[16] = "hot-keys-test";
    char* argv[1] = {name};
    QCoreApplication application{argc, argv};
};

TEST_F(X11HotKeysEventLoopTest, AHeldKeyGivesOnePressPerRepeatAndOneRelease) {
    hotKeys.watchFromEventLoop();
    registerControlOptionK(1);
    for (const KeySym key : {XK_Control_L, XK_Alt_L, XK_k})
        fake(keycode(key), true);
    // The server repeats a held key after its repeat delay; wait for a repeat to arrive.
    EXPECT_TRUE(processEventsUntil([&] { return events.size() >= 2; }))
        << "the held key was not repeated";
    for (const KeySym key : {XK_k, XK_Alt_L, XK_Control_L})
        fake(keycode(key), false);
    EXPECT_TRUE(processEventsUntil(
        [&] { return !events.empty() && events.back().kind == kEventHotKeyReleased; }));
    const auto releases = std::ranges::count(kinds(), kEventHotKeyReleased);
    EXPECT_EQ(releases, 1) << "a repeat must not look like a release and a new press";
    EXPECT_GE(std::ranges::count(kinds(), kEventHotKeyPressed), 2);
}

// The application gets its hot keys from the platform object, which must watch them itself.
class X11PlatformHotKeysTest : public X11HotKeysEventLoopTest {
  protected:
    static std::unique_ptr<Platform> openPlatform(Scheduler& mainQueue) {
        auto platform = x11::openX11Platform(mainQueue);
        if (!platform)
            std::abort();
        return std::move(*platform);
    }

    QtScheduler mainQueue;
    std::unique_ptr<Platform> platform = openPlatform(mainQueue);
    HotKeyService service{platform->hotKeys()};
};

TEST_F(X11PlatformHotKeysTest, APressRunsTheActionAtOnceAndHandsTheKeyboardBack) {
    int presses = 0;
    const auto [outcome, id] =
        service.add(KeyCombo{kKeyK, Modifiers{Modifiers::control, Modifiers::option}}, false,
                    [&] { ++presses; });
    ASSERT_TRUE(id.has_value()) << "the shortcut was not registered";
    for (const KeySym key : {XK_Control_L, XK_Alt_L, XK_k})
        fake(keycode(key), true);
    ASSERT_TRUE(processEventsUntil([&] { return presses == 1; })) << "the shortcut did not fire";
    // While the key is still held, a panel opened by the shortcut must be able to take the
    // keyboard: the grab that the press activated is ours to give back.
    EXPECT_EQ(XGrabKeyboard(display(), root(), False, GrabModeAsync, GrabModeAsync, CurrentTime),
              GrabSuccess);
    XUngrabKeyboard(display(), CurrentTime);
    for (const KeySym key : {XK_k, XK_Alt_L, XK_Control_L})
        fake(keycode(key), false);
    // The release reaches the service although the grab was given back, so a second press
    // runs the action again.
    typeControlAltK();
    EXPECT_TRUE(processEventsUntil([&] { return presses == 2; }));
}

TEST_F(X11PlatformHotKeysTest, KeysTheKeymapGivesTheSystemAreSystemShortcuts) {
    const Modifiers controlOption{Modifiers::control, Modifiers::option};
    struct Case {
        KeyCombo combo;
        bool system;
    };
    const std::vector<Case> cases{
        {KeyCombo{122, controlOption}, true},        // F1: virtual terminal 1
        {KeyCombo{111, controlOption}, true},        // F12
        {KeyCombo{122, Modifiers::control}, false},  // Ctrl+F1 is an ordinary key
        {KeyCombo{kKeyK, controlOption}, false},     // a letter
    };
    for (const auto& [combo, system] : cases) {
        EXPECT_EQ(HotKeyService::isSystemShortcut(combo, platform->hotKeys()), system)
            << combo.keyCode << " with modifiers " << combo.modifiers.carbonFlags();
    }
}

}  // namespace
}  // namespace tilewise::testing

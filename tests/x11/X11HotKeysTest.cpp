#include "platform/x11/X11HotKeys.h"

#include <QCoreApplication>

#include "platform/x11/KeyCodeTable.h"
#include <poll.h>

#include "tests/x11/support/X11TestSupport.h"

namespace tilewise::testing {
namespace {

using x11::X11EventLoop;
using x11::X11HotKeys;

constexpr std::uint32_t kControl = 0x1000, kOption = 0x800;
constexpr std::uint16_t kMacK = 40, kMacA = 0, kMacKeypad1 = 83;

// The event loop's socket notifier needs a Qt application; the test pumps events itself.
QCoreApplication& qtApplication() {
    static int argc = 1;
    static char name[] = "tilewise_x11_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    return application;
}

class X11HotKeysTest : public X11Test {
  protected:
    X11HotKeysTest() {
        qtApplication();
        hotKeys.installEventHandler([this](const HotKeyEvent& event) {
            (event.kind == kEventHotKeyPressed ? presses : releases).push_back(event.hotKeyID->id);
            return noErr;
        });
    }

    // Types a combination with XTEST, as a user would, and waits for its release to arrive.
    void type(const std::string& keys) {
        const size_t releasesBefore = releases.size();
        ASSERT_EQ(runProgram({"xdotool", "key", keys}), 0);
        const auto deadline = std::chrono::steady_clock::now() + kServerTimeout;
        while (releases.size() == releasesBefore && std::chrono::steady_clock::now() < deadline) {
            pollfd descriptor{ConnectionNumber(connection->display()), POLLIN, 0};
            poll(&descriptor, 1, 50);
            events.dispatchPending();
        }
    }

    unsigned keycodeOf(std::uint16_t macKey) {
        return *x11::KeyCodeTable::evdevFromMac(macKey) + x11::KeyCodeTable::kXKeycodeOffset;
    }

    std::optional<x11::X11Connection> connection{*x11::X11Connection::open()};
    X11EventLoop events{connection->display()};
    X11HotKeys hotKeys{connection->display(), events};
    std::vector<std::uint32_t> presses, releases;
};

TEST_F(X11HotKeysTest, AGrabbedKeyFiresOncePerPressAndRelease) {
    ASSERT_EQ(hotKeys.registerEventHotKey(kMacK, kControl | kOption, {1, 7}, 0).status, noErr);
    type("ctrl+alt+k");
    type("ctrl+alt+k");
    EXPECT_EQ(presses, (std::vector<std::uint32_t>{7, 7}));
    EXPECT_EQ(releases, (std::vector<std::uint32_t>{7, 7}));
}

TEST_F(X11HotKeysTest, AGrabbedKeyFiresWithNumLockOn) {
    ASSERT_EQ(hotKeys.registerEventHotKey(kMacKeypad1, kControl | kOption, {1, 3}, 0).status, noErr);
    ASSERT_EQ(runProgram({"xdotool", "key", "Num_Lock"}), 0);
    type("ctrl+alt+KP_1");
    ASSERT_EQ(runProgram({"xdotool", "key", "Num_Lock"}), 0);
    EXPECT_EQ(presses, (std::vector<std::uint32_t>{3}));
}

TEST_F(X11HotKeysTest, AnUnregisteredKeyNoLongerFires) {
    const auto registration = hotKeys.registerEventHotKey(kMacK, kControl | kOption, {1, 2}, 0);
    ASSERT_EQ(registration.status, noErr);
    ASSERT_EQ(hotKeys.unregisterEventHotKey(registration.ref), noErr);
    EXPECT_EQ(hotKeys.unregisterEventHotKey(registration.ref), paramErr);
    ASSERT_EQ(hotKeys.registerEventHotKey(kMacA, kControl | kOption, {1, 9}, 0).status, noErr);
    // Events arrive in order: a press of the released key would come before the other's.
    ASSERT_EQ(runProgram({"xdotool", "key", "ctrl+alt+k"}), 0);
    type("ctrl+alt+a");
    EXPECT_EQ(presses, (std::vector<std::uint32_t>{9}));
}

TEST_F(X11HotKeysTest, AKeyHeldByAnotherClientIsAConflictAndLeavesNoGrabBehind) {
    // This test's own connection is the other client; it holds only the Num Lock variant, so
    // the other variants must be released again when the combination is refused.
    const unsigned numLock = Mod2Mask;
    XGrabKey(display(), static_cast<int>(keycodeOf(kMacA)), ControlMask | Mod1Mask | numLock,
             root(), True, GrabModeAsync, GrabModeAsync);
    XSync(display(), False);
    EXPECT_EQ(hotKeys.registerEventHotKey(kMacA, kControl | kOption, {1, 1}, 0).status,
              eventHotKeyExistsErr);
    XUngrabKey(display(), static_cast<int>(keycodeOf(kMacA)), ControlMask | Mod1Mask | numLock, root());
    XSync(display(), False);
    EXPECT_EQ(hotKeys.registerEventHotKey(kMacA, kControl | kOption, {1, 1}, 0).status, noErr);
}

TEST_F(X11HotKeysTest, RegisteringTheSameCombinationTwiceIsAConflict) {
    ASSERT_EQ(hotKeys.registerEventHotKey(kMacK, kControl, {1, 1}, 0).status, noErr);
    EXPECT_EQ(hotKeys.registerEventHotKey(kMacK, kControl, {1, 2}, 0).status, eventHotKeyExistsErr);
}

TEST_F(X11HotKeysTest, AKeyWithoutAPositionIsInvalid) {
    EXPECT_EQ(hotKeys.registerEventHotKey(200, kControl, {1, 1}, 0).status, eventHotKeyInvalidErr);
    EXPECT_EQ(hotKeys.copySymbolicHotKeys().hotKeys, std::vector<PropertyDictionary>{});
}

}  // namespace
}  // namespace tilewise::testing

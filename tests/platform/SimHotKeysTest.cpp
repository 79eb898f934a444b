#include "platform/sim/SimHotKeys.h"

#include <gtest/gtest.h>

namespace tilewise::sim {
namespace {

constexpr SimHotKeys::Combination kCommandG{5, 0x100};
constexpr EventHotKeyID kOurs{fourCharCode("TEST"), 1};

TEST(SimHotKeysTest, CombinationsHeldElsewhereOrTakenExclusivelyConflict) {
    SimHotKeys hotKeys;
    hotKeys.holdByAnotherApplication(kCommandG);
    EXPECT_EQ(hotKeys.registerEventHotKey(5, 0x100, kOurs, kEventHotKeyExclusive).status,
              eventHotKeyExistsErr);
    hotKeys.holdByAnotherApplication(kCommandG, false);

    const auto first = hotKeys.registerEventHotKey(5, 0x100, kOurs, kEventHotKeyExclusive);
    ASSERT_EQ(first.status, noErr);
    EXPECT_NE(first.ref, 0u);
    EXPECT_EQ(hotKeys.registerEventHotKey(5, 0x100, kOurs, kEventHotKeyExclusive).status,
              eventHotKeyExistsErr);
    EXPECT_EQ(hotKeys.unregisterEventHotKey(first.ref), noErr);
    EXPECT_EQ(hotKeys.unregisterEventHotKey(first.ref), paramErr);
}

TEST(SimHotKeysTest, PressesReachTheNewestHandlerFirstUntilOneTakesThem) {
    SimHotKeys hotKeys;
    std::vector<std::string> calls;
    hotKeys.installEventHandler([&](const HotKeyEvent& event) {
        calls.push_back("older kind " + std::to_string(event.kind));
        return noErr;
    });
    const auto newer = hotKeys.installEventHandler([&](const HotKeyEvent& event) {
        calls.push_back("newer id " + std::to_string(event.hotKeyID->id));
        return eventNotHandledErr;
    });
    hotKeys.registerEventHotKey(5, 0x100, kOurs, kEventHotKeyExclusive);

    EXPECT_EQ(hotKeys.press(kCommandG), noErr);
    EXPECT_EQ(calls, (std::vector<std::string>{"newer id 1", "older kind 5"}));
    EXPECT_EQ(hotKeys.removeEventHandler(newer.ref), noErr);
    hotKeys.release(kCommandG);
    EXPECT_EQ(calls.back(), "older kind 6");
    EXPECT_EQ(hotKeys.press({6, 0x100}), eventNotHandledErr) << "not registered";
}

}  // namespace
}  // namespace tilewise::sim

#include "app/LaunchAtLogin.h"

#include <gtest/gtest.h>

#include "platform/sim/SimLoginItem.h"

namespace tilewise {
namespace {

using LaunchAtLogin::SwitchState;

const std::string kApproval{LaunchAtLogin::kApprovalSentence};

TEST(LaunchAtLoginTest, TheSwitchFollowsTheItemsRealStateAfterEachChange) {
    sim::SimLoginItem item;
    EXPECT_EQ(LaunchAtLogin::currentState(item), (SwitchState{false, std::nullopt}));
    EXPECT_EQ(LaunchAtLogin::change(item, true), (SwitchState{true, std::nullopt}));
    EXPECT_EQ(item.status(), LoginItemStatus::enabled);
    EXPECT_EQ(LaunchAtLogin::change(item, true), (SwitchState{true, std::nullopt}))
        << "already enabled: nothing to do";
    EXPECT_EQ(LaunchAtLogin::change(item, false), (SwitchState{false, std::nullopt}));
    EXPECT_EQ(item.status(), LoginItemStatus::notRegistered);
}

TEST(LaunchAtLoginTest, AnItemAwaitingApprovalLeavesTheSwitchOffWithTheApprovalSentence) {
    sim::SimLoginItem item;
    item.setRequiresApproval(true);
    EXPECT_EQ(LaunchAtLogin::change(item, true), (SwitchState{false, kApproval}));
    EXPECT_EQ(LaunchAtLogin::currentState(item), (SwitchState{false, kApproval}));
    EXPECT_EQ(LaunchAtLogin::change(item, false), (SwitchState{false, std::nullopt}))
        << "turning off withdraws the pending item";
    EXPECT_EQ(item.status(), LoginItemStatus::notRegistered);
}

TEST(LaunchAtLoginTest, AFailedChangeSaysWhyAndKeepsTheRealState) {
    sim::SimLoginItem item;
    item.failNextChange("Permission denied");
    EXPECT_EQ(LaunchAtLogin::change(item, true),
              (SwitchState{false, "Couldn't change the login item: Permission denied " +
                                      std::string{LaunchAtLogin::kFailureHint}}));
    ASSERT_TRUE(LaunchAtLogin::set(item, true).has_value());
    item.failNextChange("Read-only file system");
    const auto state = LaunchAtLogin::change(item, false);
    EXPECT_TRUE(state.enabled) << "still registered";
    EXPECT_TRUE(LaunchAtLogin::set(item, false).has_value());
    EXPECT_EQ(item.status(), LoginItemStatus::notRegistered);
}

}  // namespace
}  // namespace tilewise

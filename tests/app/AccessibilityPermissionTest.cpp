#include "app/AccessibilityPermission.h"

#include <gtest/gtest.h>

#include "platform/ManualScheduler.h"
#include "platform/sim/SimAccessibility.h"
#include "platform/sim/SimWorkspace.h"

namespace tilewise {
namespace {

class AccessibilityPermissionTest : public ::testing::Test {
  protected:
    AccessibilityPermissionTest() { desktop.setTrusted(false); }

    AccessibilityPermission& permission() {
        if (!permission_) {
            permission_.emplace(accessibility, workspace, scheduler);
            permission_->onChange = [this](bool trusted) { changes.push_back(trusted); };
            permission_->closeOnboardingWindow = [this] { windowVisible = false; };
        }
        return *permission_;
    }

    void openOnboarding() {
        windowVisible = true;
        permission().startPolling([this] { return windowVisible; });
    }

    ManualScheduler scheduler;
    sim::SimDesktop desktop;
    sim::SimAccessibility accessibility{desktop};
    sim::SimWorkspace workspace{desktop, scheduler};
    std::vector<bool> changes;
    bool windowVisible = false;

  private:
    std::optional<AccessibilityPermission> permission_;
};

TEST_F(AccessibilityPermissionTest, StartsWithTheTrustReadAtCreation) {
    EXPECT_FALSE(permission().isTrusted());
    desktop.setTrusted(true);
    EXPECT_FALSE(permission().isTrusted()) << "changes only through refresh";
    permission().refresh();
    EXPECT_TRUE(permission().isTrusted());
}

TEST_F(AccessibilityPermissionTest, GrantingWhileOnboardingIsOpenIsNoticedWithinASecond) {
    openOnboarding();
    scheduler.advance(AccessibilityPermission::kPollInterval * 3);
    EXPECT_TRUE(changes.empty());
    EXPECT_TRUE(permission().isPolling());

    desktop.setTrusted(true);
    scheduler.advance(AccessibilityPermission::kPollInterval);
    EXPECT_EQ(changes, std::vector<bool>{true});
    EXPECT_FALSE(windowVisible);
    EXPECT_FALSE(permission().isPolling());
    EXPECT_EQ(scheduler.pendingCount(), 0u);
}

TEST_F(AccessibilityPermissionTest, RevokingIsReportedWithoutReopeningTheWindow) {
    desktop.setTrusted(true);
    permission();
    desktop.setTrusted(false);
    permission().refresh();
    EXPECT_EQ(changes, std::vector<bool>{false});
    EXPECT_FALSE(windowVisible);
    EXPECT_FALSE(permission().isPolling());
}

TEST_F(AccessibilityPermissionTest, ClosingTheWindowByHandStopsPollingAtTheNextTick) {
    openOnboarding();
    windowVisible = false;
    scheduler.advance(AccessibilityPermission::kPollInterval);
    EXPECT_FALSE(permission().isPolling());
    EXPECT_FALSE(permission().isTrusted());
    EXPECT_TRUE(changes.empty());
}

TEST_F(AccessibilityPermissionTest, SubscribersFollowEveryChangeUntilTheyLeave) {
    std::vector<bool> seen;
    auto subscription = permission().subscribe([&](bool trusted) { seen.push_back(trusted); });
    permission().refresh();
    EXPECT_TRUE(seen.empty() && changes.empty()) << "an unchanged state calls nothing";
    desktop.setTrusted(true);
    permission().refresh();
    subscription.cancel();
    desktop.setTrusted(false);
    permission().refresh();
    EXPECT_EQ(seen, std::vector<bool>{true});
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));
}

TEST_F(AccessibilityPermissionTest, PromptsAndOpensTheAccessibilitySettingsPage) {
    EXPECT_FALSE(permission().promptForTrust());
    EXPECT_EQ(desktop.trustPromptCount(), 1);
    EXPECT_TRUE(permission().openSystemSettings());
    EXPECT_EQ(workspace.openedURLs(),
              std::vector<std::string>{std::string{AccessibilityPermission::kSystemSettingsURL}});
}

TEST_F(AccessibilityPermissionTest, OneTimerPollsHoweverOftenOnboardingOpensUntilDestroyed) {
    {
        AccessibilityPermission local{accessibility, workspace, scheduler};
        local.startPolling([] { return true; });
        local.startPolling([] { return true; });
        EXPECT_EQ(scheduler.pendingCount(), 1u);
    }
    EXPECT_EQ(scheduler.pendingCount(), 0u);
}

}  // namespace
}  // namespace tilewise

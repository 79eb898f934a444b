#include "platform/sim/SimWorkspace.h"

#include <gtest/gtest.h>

#include "platform/ManualScheduler.h"

namespace tilewise::sim {
namespace {

class SimWorkspaceTest : public ::testing::Test {
  protected:
    ManualScheduler scheduler;
    SimDesktop desktop;
    SimWorkspace workspace{desktop, scheduler};
};

TEST_F(SimWorkspaceTest, QuittingAnApplicationFiresItsExitWatchAndListObservers) {
    const ProcessId pid = workspace.launch({.pid = 7, .bundleIdentifier = "com.example.editor"});
    workspace.activate(pid);
    int exits = 0;
    int listChanges = 0;
    workspace.watchProcessExit(pid, [&] { ++exits; });
    workspace.observeRunningApplications([&] { ++listChanges; });

    workspace.terminate(pid);
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(listChanges, 1);
    EXPECT_FALSE(workspace.frontmostApplication().has_value());
    EXPECT_FALSE(workspace.processExists(pid));
    ASSERT_EQ(workspace.runningApplications().size(), 1u);
    EXPECT_TRUE(workspace.runningApplications()[0].isTerminated);
}

TEST_F(SimWorkspaceTest, WatchingAProcessAlreadyGoneFiresFromTheMainLoopUnlessRemoved) {
    int exits = 0;
    workspace.watchProcessExit(99, [&] { ++exits; });
    const auto removed = workspace.watchProcessExit(99, [&] { exits += 10; });
    EXPECT_EQ(exits, 0);
    workspace.removeObserver(removed);
    scheduler.runUntilIdle();
    EXPECT_EQ(exits, 1);
}

TEST_F(SimWorkspaceTest, ActivationTellsObserversWhichApplicationCameForward) {
    workspace.launch({.pid = 7, .localizedName = "Editor"});
    std::vector<ProcessId> activated;
    workspace.observeApplicationActivation(
        [&](const RunningApplication& app) { activated.push_back(app.processIdentifier); });
    workspace.activate(7);
    workspace.activate(std::nullopt);
    EXPECT_EQ(activated, std::vector<ProcessId>{7});
    EXPECT_FALSE(workspace.frontmostApplication().has_value());
}

}  // namespace
}  // namespace tilewise::sim

#include "app/DivvyWatch.h"

#include <gtest/gtest.h>

#include "app/DivvyMigration.h"
#include "platform/ManualScheduler.h"
#include "platform/sim/SimWorkspace.h"

namespace tilewise {
namespace {

constexpr ProcessId kDivvyPid = 777;

class DivvyWatchTest : public ::testing::Test {
  protected:
    DivvyWatchTest() {
        watch.onChange = [this](bool running) { reports.push_back(running); };
    }

    void launchDivvy(bool processUp = true) {
        workspace.launch({.pid = kDivvyPid,
                          .bundleIdentifier = std::string{DivvyMigration::bundleID},
                          .processExists = processUp});
    }

    ManualScheduler scheduler;
    sim::SimDesktop desktop;
    sim::SimWorkspace workspace{desktop, scheduler};
    DivvyWatch watch{workspace, scheduler};
    std::vector<bool> reports;
};

TEST_F(DivvyWatchTest, StartingReportsNothingForThePresentState) {
    launchDivvy();
    watch.start();
    scheduler.advance(DivvyWatch::kRecheckDelay * 3);
    EXPECT_TRUE(watch.isRunning());
    EXPECT_TRUE(reports.empty());
}

TEST_F(DivvyWatchTest, DivvyStartingIsSeenAtTheChangeAndItsExitAtOnce) {
    watch.start();
    launchDivvy();
    scheduler.runDue();
    EXPECT_EQ(reports, std::vector<bool>{true});

    workspace.terminate(kDivvyPid);
    scheduler.runDue();
    EXPECT_EQ(reports, (std::vector<bool>{true, false}));
    scheduler.advance(DivvyWatch::kRecheckDelay);
    EXPECT_EQ(reports, (std::vector<bool>{true, false})) << "the re-check finds nothing new";
}

TEST_F(DivvyWatchTest, AProcessNotYetUpIsCaughtBySecondCheck) {
    watch.start();
    launchDivvy(false);
    scheduler.runDue();
    EXPECT_TRUE(reports.empty());
    desktop.modifyApplication(kDivvyPid, [](auto& app) { app.processExists = true; });
    scheduler.advance(DivvyWatch::kRecheckDelay);
    EXPECT_EQ(reports, std::vector<bool>{true});
}

TEST_F(DivvyWatchTest, NoCheckRunsAfterTheWatchIsGone) {
    auto shortLived = std::make_unique<DivvyWatch>(workspace, scheduler);
    int calls = 0;
    shortLived->onChange = [&calls](bool) { ++calls; };
    shortLived->start();
    launchDivvy();
    shortLived.reset();
    scheduler.advance(DivvyWatch::kRecheckDelay * 2);
    EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace tilewise

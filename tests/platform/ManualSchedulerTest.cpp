#include "platform/ManualScheduler.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tilewise {
namespace {

using namespace std::chrono_literals;

TEST(ManualSchedulerTest, RunsTasksInDueOrderOnlyWhenTheClockReachesThem) {
    ManualScheduler scheduler;
    std::vector<std::string> ran;
    scheduler.schedule(300ms, [&] { ran.push_back("late"); });
    scheduler.schedule(100ms, [&] { ran.push_back("early"); });
    scheduler.post([&] { ran.push_back("now"); });
    scheduler.schedule(100ms, [&] { ran.push_back("early-second"); });

    scheduler.runDue();
    EXPECT_EQ(ran, (std::vector<std::string>{"now"}));
    scheduler.advance(299ms);
    EXPECT_EQ(ran, (std::vector<std::string>{"now", "early", "early-second"}));
    scheduler.advance(1ms);
    EXPECT_EQ(ran.back(), "late");
    EXPECT_EQ(scheduler.now(), 300ms);
    EXPECT_EQ(scheduler.pendingCount(), 0u);
}

TEST(ManualSchedulerTest, TasksScheduledByTasksRunWithinTheSameAdvance) {
    ManualScheduler scheduler;
    std::vector<Scheduler::Duration> times;
    scheduler.schedule(100ms, [&] {
        times.push_back(scheduler.now());
        scheduler.schedule(100ms, [&] { times.push_back(scheduler.now()); });
    });
    scheduler.advance(250ms);
    EXPECT_EQ(times, (std::vector<Scheduler::Duration>{100ms, 200ms}));
    EXPECT_EQ(scheduler.now(), 250ms);
}

}  // namespace
}  // namespace tilewise

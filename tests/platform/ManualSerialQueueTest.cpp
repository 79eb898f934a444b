#include "platform/ManualSerialQueue.h"

#include <vector>

#include <gtest/gtest.h>

namespace tilewise {
namespace {

using namespace std::chrono_literals;

TEST(ManualSerialQueueTest, RunsNothingUntilDrainedThenEverythingInOrder) {
    ManualSerialQueue queue;
    std::vector<int> ran;
    queue.async([&] {
        ran.push_back(1);
        queue.async([&] { ran.push_back(3); });
    });
    queue.async([&] { ran.push_back(2); });

    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(queue.pendingCount(), 2u);
    EXPECT_EQ(queue.drain(), 3u);
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(queue.runNext());
}

TEST(ManualSerialQueueTest, RecordsPausesAndCallsTheHookInsideThem) {
    ManualSerialQueue queue;
    std::vector<SerialQueue::Duration> hooked;
    queue.setPauseHook([&](SerialQueue::Duration duration) { hooked.push_back(duration); });
    queue.async([&] {
        queue.pause(50ms);
        queue.pause(150ms);
    });
    queue.drain();

    const std::vector<SerialQueue::Duration> expected{50ms, 150ms};
    EXPECT_EQ(queue.pauses(), expected);
    EXPECT_EQ(hooked, expected);
}

}  // namespace
}  // namespace tilewise

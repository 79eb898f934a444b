#include <future>
#include <optional>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/LoopSerialQueue.h"
#include "platform/PollScheduler.h"
#include "platform/ThreadSerialQueue.h"

namespace tilewise {
namespace {

TEST(ThreadSerialQueueTest, RunsTasksOneAtATimeInOrderOffTheCallingThread) {
    std::vector<int> ran;
    std::vector<std::thread::id> threads;
    std::promise<void> done;
    {
        ThreadSerialQueue queue{"tilewise.test.queue"};
        for (int i = 0; i < 50; ++i) {
            // No lock: the queue itself must keep the tasks from overlapping.
            queue.async([&, i] {
                ran.push_back(i);
                threads.push_back(std::this_thread::get_id());
            });
        }
        queue.async([&] { done.set_value(); });
        done.get_future().wait();
    }
    ASSERT_EQ(ran.size(), 50u);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(ran[static_cast<std::size_t>(i)], i);
    }
    EXPECT_NE(threads.front(), std::this_thread::get_id());
    EXPECT_EQ(threads.front(), threads.back());
}

// A task queues the next one and the main queue gets work in between: the queue's tasks keep
// their order, run on the loop's thread only when the loop turns, and those still waiting when
// the queue goes never run.
TEST(LoopSerialQueueTest, RunsTasksInOrderOnTheLoopAndDropsThoseLeftWhenItGoes) {
    PollScheduler loop;
    std::vector<int> ran;
    auto queue = std::make_optional<LoopSerialQueue>(loop);
    queue->async([&] {
        ran.push_back(1);
        queue->async([&] { ran.push_back(3); });
    });
    loop.post([&] { ran.push_back(2); });
    EXPECT_TRUE(ran.empty());
    loop.runUntil([&] { return ran.size() == 3; });
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));

    queue->async([&] { ran.push_back(4); });
    queue.reset();
    bool turned = false;
    loop.post([&] { turned = true; });
    loop.runUntil([&] { return turned; });
    EXPECT_EQ(ran.size(), 3u);
}

}  // namespace
}  // namespace tilewise

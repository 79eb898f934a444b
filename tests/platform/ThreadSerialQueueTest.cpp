#include "platform/ThreadSerialQueue.h"

#include <future>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tilewise

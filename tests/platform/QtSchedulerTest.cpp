#include "platform/QtScheduler.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace tilewise {
namespace {

using namespace std::chrono_literals;

// Spins the event loop until `done` holds; the deadline only guards against a hang.
template <typename Predicate>
bool processEventsUntil(Predicate done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

class QtSchedulerTest : public ::testing::Test {
  protected:
    int argc = 1;
    char name[16] = "scheduler-test";
    char* argv[1] = {name};
    QCoreApplication application{argc, argv};
};

TEST_F(QtSchedulerTest, RunsPostsAndTimersOnTheMainThreadInDueOrder) {
    QtScheduler scheduler;
    std::vector<int> order;
    std::vector<std::thread::id> threads;
    scheduler.schedule(30ms, [&] { order.push_back(2); });
    std::thread worker{[&] {
        scheduler.post([&] {
            order.push_back(1);
            threads.push_back(std::this_thread::get_id());
        });
    }};
    worker.join();
    ASSERT_TRUE(processEventsUntil([&] { return order.size() == 2; }));
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_EQ(threads.front(), std::this_thread::get_id());
}

TEST_F(QtSchedulerTest, CancelledTaskDoesNotRun) {
    QtScheduler scheduler;
    bool cancelledRan = false;
    bool laterRan = false;
    const auto id = scheduler.schedule(10ms, [&] { cancelledRan = true; });
    scheduler.schedule(40ms, [&] { laterRan = true; });
    scheduler.cancel(id);
    ASSERT_TRUE(processEventsUntil([&] { return laterRan; }));
    EXPECT_FALSE(cancelledRan);
}

}  // namespace
}  // namespace tilewise

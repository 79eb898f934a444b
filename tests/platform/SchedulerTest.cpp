#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <memory>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ManualScheduler.h"
#include "platform/PollScheduler.h"
#include "platform/QtScheduler.h"

namespace tilewise {
namespace {

using namespace std::chrono_literals;

// Each scheduler's loop as its owner runs it: one turn, and turns until a condition holds (a
// deadline only guards against a hang).
struct QtLoop {
    int argc = 1;
    char name[16] = "scheduler-test";
    char* argv[1] = {name};
    QCoreApplication application{argc, argv};
    QtScheduler scheduler;
    // Waits as the application's loop does, so that it also goes to sleep once; the timer
    // wakes it.
    void turn() {
        QTimer::singleShot(5, [] {});
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    void runUntil(const std::function<bool()>& done) {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
};

struct ManualLoop {
    ManualScheduler scheduler;
    void turn() { scheduler.runDue(); }
    void runUntil(const std::function<bool()>& done) {
        for (int step = 0; step < 5000 && !done(); ++step)
            scheduler.advance(1ms);
    }
};

struct PollLoop {
    PollScheduler scheduler;
    void turn() { runFor(5ms); }
    void runUntil(const std::function<bool()>& done) {
        bool expired = false;
        const auto deadline = scheduler.schedule(5s, [&] { expired = true; });
        scheduler.runUntil([&] { return expired || done(); });
        scheduler.cancel(deadline);
    }
    void runFor(Scheduler::Duration duration) {
        bool woke = false;
        scheduler.schedule(duration, [&] { woke = true; });
        scheduler.runUntil([&] { return woke; });
    }
};

template <typename Loop>
class SchedulerTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(::pipe(ends_), 0); }
    void TearDown() override {
        ::close(ends_[0]);
        ::close(ends_[1]);
    }
    void write() { ASSERT_EQ(::write(ends_[1], "x", 1), 1); }
    std::unique_ptr<ReadableWatch> watch(Scheduler::Task onReadable,
                                         Scheduler::Watch when = Scheduler::Watch::readable) {
        Scheduler& scheduler = loop.scheduler;
        return scheduler.watchReadable(ends_[0], std::move(onReadable), when);
    }
    void drain() {
        char byte;
        ASSERT_EQ(::read(ends_[0], &byte, 1), 1);
    }

    Loop loop;
    int ends_[2] = {-1, -1};
};

using Loops = ::testing::Types<QtLoop, ManualLoop, PollLoop>;
TYPED_TEST_SUITE(SchedulerTest, Loops);

TYPED_TEST(SchedulerTest, RunsPostsAndTimersOnTheLoopsThreadInDueOrder) {
    Scheduler& scheduler = this->loop.scheduler;
    std::vector<int> order;
    std::vector<std::thread::id> threads;
    scheduler.schedule(30ms, [&] { order.push_back(3); });
    scheduler.schedule(10ms, [&] { order.push_back(2); });
    std::thread worker{[&] {
        scheduler.post([&] {
            order.push_back(1);
            threads.push_back(std::this_thread::get_id());
        });
    }};
    worker.join();
    this->loop.runUntil([&] { return order.size() == 3; });
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    ASSERT_EQ(threads.size(), 1u);
    EXPECT_EQ(threads.front(), std::this_thread::get_id());
}

TYPED_TEST(SchedulerTest, CancelledTaskDoesNotRun) {
    Scheduler& scheduler = this->loop.scheduler;
    bool cancelledRan = false;
    bool laterRan = false;
    const auto id = scheduler.schedule(10ms, [&] { cancelledRan = true; });
    scheduler.schedule(40ms, [&] { laterRan = true; });
    scheduler.cancel(id);
    scheduler.cancel(id);
    this->loop.runUntil([&] { return laterRan; });
    EXPECT_TRUE(laterRan);
    EXPECT_FALSE(cancelledRan);
}

TYPED_TEST(SchedulerTest, CallsBackWhileReadableUntilStoppedOrDestroyed) {
    int calls = 0;
    auto watch = this->watch([&] {
        ++calls;
        this->drain();
    });
    this->loop.turn();
    EXPECT_EQ(calls, 0) << "called back with nothing to read";
    this->write();
    this->loop.turn();
    this->loop.turn();
    EXPECT_EQ(calls, 1);

    watch->stop();
    this->write();
    this->loop.turn();
    EXPECT_EQ(calls, 1) << "a stopped watch called back";
    watch.reset();
    this->loop.turn();
    EXPECT_EQ(calls, 1) << "a destroyed watch called back";
}

TYPED_TEST(SchedulerTest, ACallbackMayDestroyItsOwnWatch) {
    std::unique_ptr<ReadableWatch> watch;
    int calls = 0;
    watch = this->watch([&] {
        ++calls;
        watch.reset();
    });
    this->write();
    this->loop.turn();
    this->loop.turn();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(watch, nullptr);
}

TYPED_TEST(SchedulerTest, BeforeSleepingCallsBackWithNothingToRead) {
    int calls = 0;
    auto watch = this->watch([&] { ++calls; }, Scheduler::Watch::readableOrBeforeSleeping);
    this->loop.turn();
    EXPECT_GE(calls, 1);
}

}  // namespace
}  // namespace tilewise

#include <unistd.h>

#include <QCoreApplication>
#include <QTimer>
#include <memory>

#include <gtest/gtest.h>

#include "platform/ManualScheduler.h"
#include "platform/QtScheduler.h"

namespace tilewise {
namespace {

// One turn of each scheduler's loop, as its owner would run it.
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
};

struct ManualLoop {
    ManualScheduler scheduler;
    void turn() { scheduler.runDue(); }
};

template <typename Loop>
class SchedulerWatchTest : public ::testing::Test {
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

using Loops = ::testing::Types<QtLoop, ManualLoop>;
TYPED_TEST_SUITE(SchedulerWatchTest, Loops);

TYPED_TEST(SchedulerWatchTest, CallsBackWhileReadableUntilStoppedOrDestroyed) {
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

TYPED_TEST(SchedulerWatchTest, ACallbackMayDestroyItsOwnWatch) {
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

TYPED_TEST(SchedulerWatchTest, BeforeSleepingCallsBackWithNothingToRead) {
    int calls = 0;
    auto watch = this->watch([&] { ++calls; }, Scheduler::Watch::readableOrBeforeSleeping);
    this->loop.turn();
    EXPECT_GE(calls, 1);
}

}  // namespace
}  // namespace tilewise

#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "platform/Scheduler.h"

struct pollfd;

namespace tilewise {

/// A main loop of our own on poll(2), for the programs that load no Qt. The thread that
/// creates it runs it; tasks may be scheduled from any thread (an eventfd wakes the loop),
/// descriptors are watched from the loop's thread.
class PollScheduler final : public Scheduler {
  public:
    PollScheduler();
    ~PollScheduler() override;

    TaskId schedule(Duration delay, Task task) override;
    void cancel(TaskId id) override;
    std::unique_ptr<ReadableWatch> watchReadable(int descriptor, Task onReadable,
                                                 Watch when) override;

    /// Runs due tasks and readable descriptors' callbacks, sleeping while there are none,
    /// until `done` holds; `done` is asked again after each piece of work.
    void runUntil(const std::function<bool()>& done);

  private:
    using Clock = std::chrono::steady_clock;
    struct Watched {
        int descriptor;
        Task onReadable;
        Watch when;
        bool stopped = false;
    };
    class PollWatch;

    void runDueTasks(const std::function<bool()>& done);
    /// Milliseconds until the next task is due, -1 when none is waiting.
    int timeoutToNextTask();
    void callBeforeSleeping();
    void waitAndDeliver(int timeout);
    void deliver(const std::vector<std::uint64_t>& ids, const std::vector<pollfd>& polled);
    /// Calls `watch`'s callback if it is still there and running; looked up just before the
    /// call, since any callback may stop or destroy any watch.
    void callBack(std::uint64_t watch);

    int wakeDescriptor_;
    std::thread::id loopThread_;
    std::mutex mutex_;
    TaskId nextId_ = 1;
    // Keyed by (due time, id) so that equal due times run in scheduling order.
    std::map<std::pair<Clock::time_point, TaskId>, Task> tasks_;
    // The loop's thread alone touches the watches.
    std::uint64_t nextWatchId_ = 1;
    std::map<std::uint64_t, Watched> watches_;
};

}  // namespace tilewise

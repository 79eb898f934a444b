#pragma once

#include <map>
#include <mutex>
#include <utility>

#include "platform/Scheduler.h"

namespace tilewise {

/// A scheduler whose clock moves only when told to: tasks run inside `advance` and
/// `runUntilIdle`, in the order of their due time (then of scheduling). Tasks may be scheduled
/// from any thread; they run on the thread that advances the clock. Watched descriptors are
/// looked at, without waiting, at the start of each `advance` and `runUntilIdle`.
class ManualScheduler final : public Scheduler {
  public:
    TaskId schedule(Duration delay, Task task) override;
    void cancel(TaskId id) override;
    std::unique_ptr<ReadableWatch> watchReadable(int descriptor, Task onReadable,
                                                 Watch when) override;

    /// Moves the clock forward by `step`, running every task that falls due on the way,
    /// including tasks those tasks schedule within the step.
    void advance(Duration step);
    /// Runs every task that is due now (zero-delay posts among them).
    void runDue() { advance(Duration::zero()); }
    /// Runs tasks, moving the clock to each one's due time, until none is left.
    void runUntilIdle();

    /// Time since the scheduler was created.
    Duration now() const;
    std::size_t pendingCount() const;

  private:
    struct Watched {
        int descriptor;
        Task onReadable;
        Watch when;
        bool stopped = false;
    };
    class ManualWatch;

    bool runNextDueBy(Duration limit);
    void deliverReadable();

    mutable std::mutex mutex_;
    Duration now_{0};
    TaskId nextId_ = 1;
    // Keyed by (due time, id) so that equal due times run in scheduling order.
    std::map<std::pair<Duration, TaskId>, Task> tasks_;
    std::uint64_t nextWatchId_ = 1;
    std::map<std::uint64_t, Watched> watches_;
};

}  // namespace tilewise

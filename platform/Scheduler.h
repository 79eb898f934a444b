#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace tilewise {

/// Runs work later on the main thread: the main queue and its delayed work items. Every
/// time-based behaviour goes through one, so tests drive time instead of sleeping.
class Scheduler {
  public:
    using Task = std::function<void()>;
    using Duration = std::chrono::milliseconds;
    using TaskId = std::uint64_t;

    Scheduler() = default;
    Scheduler(const Scheduler&) = delete;
    Scheduler& operator=(const Scheduler&) = delete;
    virtual ~Scheduler() = default;

    /// Runs `task` on the main thread once `delay` has passed. Callable from any thread.
    /// Returns an id for `cancel`; never fails.
    virtual TaskId schedule(Duration delay, Task task) = 0;
    /// Forgets a task that has not run yet; does nothing for a task that ran or is unknown.
    virtual void cancel(TaskId id) = 0;

    /// Runs `task` on the main thread as soon as possible.
    TaskId post(Task task) { return schedule(Duration::zero(), std::move(task)); }
};

}  // namespace tilewise

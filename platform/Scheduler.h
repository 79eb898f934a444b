#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

namespace tilewise {

/// A descriptor watched by the main loop; destroying it ends the callbacks.
class ReadableWatch {
  public:
    ReadableWatch() = default;
    ReadableWatch(const ReadableWatch&) = delete;
    ReadableWatch& operator=(const ReadableWatch&) = delete;
    virtual ~ReadableWatch() = default;

    /// Ends the callbacks while the watch is kept, for a descriptor that would stay readable
    /// forever (a lost server's socket). Called from a callback, it takes effect at once.
    virtual void stop() = 0;
};

/// Runs work later on the main thread: the main queue and its delayed work items, and the
/// descriptors it waits on. Every time-based behaviour goes through one, so tests drive time
/// instead of sleeping.
class Scheduler {
  public:
    using Task = std::function<void()>;
    using Duration = std::chrono::milliseconds;
    using TaskId = std::uint64_t;

    /// Xlib may read events into its own queue during a round trip without the socket showing
    /// data afterwards; `readableOrBeforeSleeping` also calls back each time the loop is about
    /// to wait, so such events are not left behind.
    enum class Watch { readable, readableOrBeforeSleeping };

    Scheduler() = default;
    Scheduler(const Scheduler&) = delete;
    Scheduler& operator=(const Scheduler&) = delete;
    virtual ~Scheduler() = default;

    /// Runs `task` on the main thread once `delay` has passed. Callable from any thread.
    /// Returns an id for `cancel`; never fails.
    virtual TaskId schedule(Duration delay, Task task) = 0;
    /// Forgets a task that has not run yet; does nothing for a task that ran or is unknown.
    virtual void cancel(TaskId id) = 0;

    /// Calls `onReadable` on the main thread whenever `descriptor` has data to read (and, as
    /// `when` says, before the loop sleeps) until the watch is stopped or destroyed. Main
    /// thread only; the descriptor stays the caller's.
    virtual std::unique_ptr<ReadableWatch> watchReadable(int descriptor, Task onReadable,
                                                         Watch when = Watch::readable) = 0;

    /// Runs `task` on the main thread as soon as possible.
    TaskId post(Task task) { return schedule(Duration::zero(), std::move(task)); }
};

}  // namespace tilewise

#pragma once

#include <chrono>
#include <functional>

namespace tilewise {

/// Runs work one task at a time in the order submitted: the private queue on which every call
/// that can block on another application runs. Where the main thread must stay responsive
/// (the resident application), a worker thread of its own runs it.
class SerialQueue {
  public:
    using Task = std::function<void()>;
    using Duration = std::chrono::milliseconds;

    SerialQueue() = default;
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;
    virtual ~SerialQueue() = default;

    /// Queues `task` behind every task submitted before it. Callable from any thread; never
    /// fails. Tasks still waiting when the queue is destroyed are dropped without running.
    virtual void async(Task task) = 0;
    /// Blocks the queue for `duration`; with a worker thread, never the main thread. Only
    /// called from a task.
    virtual void pause(Duration duration) = 0;
};

}  // namespace tilewise

#pragma once

#include <chrono>
#include <functional>

namespace tilewise {

/// Runs work off the main thread, one task at a time in the order submitted: the private
/// queue on which every call that can block on another application runs.
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
    /// Blocks the queue (never the main thread) for `duration`. Only called from a task.
    virtual void pause(Duration duration) = 0;
};

}  // namespace tilewise

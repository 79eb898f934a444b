#pragma once

#include <functional>
#include <mutex>
#include <queue>
#include <vector>

#include "platform/SerialQueue.h"

namespace tilewise {

/// A serial queue for tests: tasks run only when the test drains it, on the test's thread,
/// and pauses return at once after being recorded (and after an optional hook, through which
/// a test can act "while" the queue sleeps).
class ManualSerialQueue final : public SerialQueue {
  public:
    void async(Task task) override;
    void pause(Duration duration) override;

    /// Runs the oldest task; false when there was none.
    bool runNext();
    /// Runs tasks until none is left, including tasks queued meanwhile; returns how many ran.
    std::size_t drain();
    std::size_t pendingCount() const;

    /// Every pause requested so far, in order.
    std::vector<Duration> pauses() const;
    /// Called inside every pause, with its duration.
    void setPauseHook(std::function<void(Duration)> hook);

  private:
    mutable std::mutex mutex_;
    std::queue<Task> tasks_;
    std::vector<Duration> pauses_;
    std::function<void(Duration)> pauseHook_;
};

}  // namespace tilewise

#include "platform/ManualSerialQueue.h"

namespace tilewise {

void ManualSerialQueue::async(Task task) {
    std::lock_guard lock{mutex_};
    tasks_.push(std::move(task));
}

void ManualSerialQueue::pause(Duration duration) {
    std::function<void(Duration)> hook;
    {
        std::lock_guard lock{mutex_};
        pauses_.push_back(duration);
        hook = pauseHook_;
    }
    if (hook) {
        hook(duration);
    }
}

bool ManualSerialQueue::runNext() {
    Task task;
    {
        std::lock_guard lock{mutex_};
        if (tasks_.empty()) {
            return false;
        }
        task = std::move(tasks_.front());
        tasks_.pop();
    }
    // Unlocked: the task may queue more work or pause.
    task();
    return true;
}

std::size_t ManualSerialQueue::drain() {
    std::size_t count = 0;
    while (runNext()) {
        ++count;
    }
    return count;
}

std::size_t ManualSerialQueue::pendingCount() const {
    std::lock_guard lock{mutex_};
    return tasks_.size();
}

std::vector<SerialQueue::Duration> ManualSerialQueue::pauses() const {
    std::lock_guard lock{mutex_};
    return pauses_;
}

void ManualSerialQueue::setPauseHook(std::function<void(Duration)> hook) {
    std::lock_guard lock{mutex_};
    pauseHook_ = std::move(hook);
}

}  // namespace tilewise

#include "platform/ManualScheduler.h"

#include <algorithm>

namespace tilewise {

Scheduler::TaskId ManualScheduler::schedule(Duration delay, Task task) {
    std::lock_guard lock{mutex_};
    const TaskId id = nextId_++;
    tasks_.emplace(std::pair{now_ + std::max(delay, Duration::zero()), id}, std::move(task));
    return id;
}

void ManualScheduler::cancel(TaskId id) {
    std::lock_guard lock{mutex_};
    std::erase_if(tasks_, [id](const auto& entry) { return entry.first.second == id; });
}

bool ManualScheduler::runNextDueBy(Duration limit) {
    Task task;
    {
        std::lock_guard lock{mutex_};
        if (tasks_.empty() || tasks_.begin()->first.first > limit) {
            return false;
        }
        const auto first = tasks_.begin();
        now_ = std::max(now_, first->first.first);
        task = std::move(first->second);
        tasks_.erase(first);
    }
    // Run unlocked: the task may schedule or cancel more work.
    task();
    return true;
}

void ManualScheduler::advance(Duration step) {
    Duration limit;
    {
        std::lock_guard lock{mutex_};
        limit = now_ + step;
    }
    while (runNextDueBy(limit)) {
    }
    std::lock_guard lock{mutex_};
    now_ = limit;
}

void ManualScheduler::runUntilIdle() {
    while (runNextDueBy(Duration::max())) {
    }
}

Scheduler::Duration ManualScheduler::now() const {
    std::lock_guard lock{mutex_};
    return now_;
}

std::size_t ManualScheduler::pendingCount() const {
    std::lock_guard lock{mutex_};
    return tasks_.size();
}

}  // namespace tilewise

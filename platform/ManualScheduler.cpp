#include "platform/ManualScheduler.h"

#include <poll.h>

#include <algorithm>
#include <vector>

namespace tilewise {

class ManualScheduler::ManualWatch final : public ReadableWatch {
  public:
    ManualWatch(ManualScheduler& scheduler, std::uint64_t id) : scheduler_(scheduler), id_(id) {}
    ~ManualWatch() override {
        std::lock_guard lock{scheduler_.mutex_};
        scheduler_.watches_.erase(id_);
    }

    void stop() override {
        std::lock_guard lock{scheduler_.mutex_};
        if (const auto found = scheduler_.watches_.find(id_); found != scheduler_.watches_.end())
            found->second.stopped = true;
    }

  private:
    ManualScheduler& scheduler_;
    std::uint64_t id_;
};

std::unique_ptr<ReadableWatch> ManualScheduler::watchReadable(int descriptor, Task onReadable,
                                                              Watch when) {
    std::lock_guard lock{mutex_};
    const auto id = nextWatchId_++;
    watches_.emplace(id, Watched{descriptor, std::move(onReadable), when});
    return std::make_unique<ManualWatch>(*this, id);
}

// A callback may stop or destroy any watch, its own included: each is looked up again just
// before it is called.
void ManualScheduler::deliverReadable() {
    std::vector<std::uint64_t> ids;
    {
        std::lock_guard lock{mutex_};
        for (const auto& [id, watched] : watches_)
            ids.push_back(id);
    }
    for (const auto id : ids) {
        Task callback;
        {
            std::lock_guard lock{mutex_};
            const auto found = watches_.find(id);
            if (found == watches_.end() || found->second.stopped)
                continue;
            pollfd descriptor{found->second.descriptor, POLLIN, 0};
            const bool readable = ::poll(&descriptor, 1, 0) > 0;
            if (!readable && found->second.when == Watch::readable)
                continue;
            callback = found->second.onReadable;
        }
        callback();
    }
}

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
    deliverReadable();
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
    deliverReadable();
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

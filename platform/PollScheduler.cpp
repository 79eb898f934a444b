#include "platform/PollScheduler.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <system_error>

namespace tilewise {

class PollScheduler::PollWatch final : public ReadableWatch {
  public:
    PollWatch(PollScheduler& scheduler, std::uint64_t id) : scheduler_(scheduler), id_(id) {}
    ~PollWatch() override { scheduler_.watches_.erase(id_); }

    void stop() override {
        if (const auto found = scheduler_.watches_.find(id_); found != scheduler_.watches_.end())
            found->second.stopped = true;
    }

  private:
    PollScheduler& scheduler_;
    std::uint64_t id_;
};

PollScheduler::PollScheduler()
    : wakeDescriptor_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)),
      loopThread_(std::this_thread::get_id()) {
    // Without it no other thread could ever wake the loop.
    if (wakeDescriptor_ < 0)
        throw std::system_error(errno, std::generic_category(), "eventfd");
}

PollScheduler::~PollScheduler() {
    ::close(wakeDescriptor_);
}

Scheduler::TaskId PollScheduler::schedule(Duration delay, Task task) {
    TaskId id;
    {
        std::lock_guard lock{mutex_};
        id = nextId_++;
        tasks_.emplace(std::pair{Clock::now() + std::max(delay, Duration::zero()), id},
                       std::move(task));
    }
    // The loop's own thread looks at the tasks again before it sleeps; another thread's task
    // must wake it.
    if (std::this_thread::get_id() != loopThread_) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(wakeDescriptor_, &one, sizeof one);
    }
    return id;
}

void PollScheduler::cancel(TaskId id) {
    std::lock_guard lock{mutex_};
    std::erase_if(tasks_, [id](const auto& entry) { return entry.first.second == id; });
}

std::unique_ptr<ReadableWatch> PollScheduler::watchReadable(int descriptor, Task onReadable,
                                                            Watch when) {
    const auto id = nextWatchId_++;
    watches_.emplace(id, Watched{descriptor, std::move(onReadable), when});
    return std::make_unique<PollWatch>(*this, id);
}

void PollScheduler::runUntil(const std::function<bool()>& done) {
    while (!done()) {
        runDueTasks(done);
        if (done())
            return;
        auto timeout = timeoutToNextTask();
        if (timeout != 0) {
            callBeforeSleeping();
            // Those callbacks may have posted work, or finished it.
            if (done())
                return;
            timeout = timeoutToNextTask();
        }
        waitAndDeliver(timeout);
    }
}

// Only the tasks due when the turn began: a task that posts another cannot keep the
// descriptors from being looked at.
void PollScheduler::runDueTasks(const std::function<bool()>& done) {
    const auto now = Clock::now();
    while (!done()) {
        Task task;
        {
            std::lock_guard lock{mutex_};
            if (tasks_.empty() || tasks_.begin()->first.first > now)
                return;
            task = std::move(tasks_.begin()->second);
            tasks_.erase(tasks_.begin());
        }
        // Run unlocked: the task may schedule or cancel more work.
        task();
    }
}

int PollScheduler::timeoutToNextTask() {
    std::lock_guard lock{mutex_};
    if (tasks_.empty())
        return -1;
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(tasks_.begin()->first.first - Clock::now());
    return static_cast<int>(std::clamp<std::int64_t>(left.count(), 0, INT32_MAX));
}

void PollScheduler::callBeforeSleeping() {
    std::vector<std::uint64_t> ids;
    for (const auto& [id, watched] : watches_) {
        if (watched.when == Watch::readableOrBeforeSleeping)
            ids.push_back(id);
    }
    for (const auto id : ids)
        callBack(id);
}

void PollScheduler::waitAndDeliver(int timeout) {
    std::vector<pollfd> polled{{wakeDescriptor_, POLLIN, 0}};
    std::vector<std::uint64_t> ids{0};
    for (const auto& [id, watched] : watches_) {
        if (!watched.stopped) {
            polled.push_back({watched.descriptor, POLLIN, 0});
            ids.push_back(id);
        }
    }
    if (::poll(polled.data(), polled.size(), timeout) <= 0)
        return;
    if (polled.front().revents != 0) {
        std::uint64_t count;
        [[maybe_unused]] const auto read = ::read(wakeDescriptor_, &count, sizeof count);
    }
    deliver(ids, polled);
}

void PollScheduler::deliver(const std::vector<std::uint64_t>& ids,
                            const std::vector<pollfd>& polled) {
    for (std::size_t index = 1; index < polled.size(); ++index) {
        if (polled[index].revents == 0)
            continue;
        // A descriptor closed under its watch would make every poll return at once.
        if ((polled[index].revents & POLLNVAL) != 0) {
            if (const auto found = watches_.find(ids[index]); found != watches_.end())
                found->second.stopped = true;
            continue;
        }
        // Hang-ups and errors too: the reader learns of them by reading.
        callBack(ids[index]);
    }
}

void PollScheduler::callBack(std::uint64_t watch) {
    const auto found = watches_.find(watch);
    if (found == watches_.end() || found->second.stopped)
        return;
    // A copy: the callback may destroy its own watch.
    const Task callback = found->second.onReadable;
    callback();
}

}  // namespace tilewise

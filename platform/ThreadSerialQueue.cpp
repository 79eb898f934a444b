#include "platform/ThreadSerialQueue.h"

#include <pthread.h>

namespace tilewise {

namespace {
// Linux limits thread names to 15 bytes plus the terminator.
constexpr std::size_t kMaxThreadNameLength = 15;
}  // namespace

ThreadSerialQueue::ThreadSerialQueue(std::string label)
    : label_(std::move(label)), worker_([this] { run(); }) {
    pthread_setname_np(worker_.native_handle(), label_.substr(0, kMaxThreadNameLength).c_str());
}

ThreadSerialQueue::~ThreadSerialQueue() {
    {
        std::lock_guard lock{mutex_};
        stopping_ = true;
        tasks_.clear();
    }
    wake_.notify_one();
    worker_.join();
}

void ThreadSerialQueue::async(Task task) {
    {
        std::lock_guard lock{mutex_};
        if (stopping_) {
            return;
        }
        tasks_.push_back(std::move(task));
    }
    wake_.notify_one();
}

void ThreadSerialQueue::pause(Duration duration) {
    std::this_thread::sleep_for(duration);
}

void ThreadSerialQueue::run() {
    for (;;) {
        Task task;
        {
            std::unique_lock lock{mutex_};
            wake_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
            if (stopping_) {
                return;
            }
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
    }
}

}  // namespace tilewise

#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "platform/SerialQueue.h"

namespace tilewise {

/// A serial queue backed by one worker thread of its own.
class ThreadSerialQueue final : public SerialQueue {
  public:
    /// `label` names the thread (shortened to what the system allows).
    explicit ThreadSerialQueue(std::string label);
    /// Drops the tasks not yet started and waits for the running one to finish.
    ~ThreadSerialQueue() override;

    void async(Task task) override;
    void pause(Duration duration) override;

  private:
    void run();

    std::string label_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Task> tasks_;
    bool stopping_ = false;
    std::thread worker_;
};

}  // namespace tilewise

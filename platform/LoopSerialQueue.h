#pragma once

#include <memory>

#include "platform/Scheduler.h"
#include "platform/SerialQueue.h"

namespace tilewise {

/// A serial queue whose tasks run on the main loop, each as a main-queue task of its own, in
/// the order submitted. For a one-off command: its main thread has nothing to keep responsive
/// while a window is placed, and a worker thread would only add its start and a hand-off
/// between threads to every step. A pause sleeps the loop's thread.
class LoopSerialQueue final : public SerialQueue {
  public:
    explicit LoopSerialQueue(Scheduler& loop) : loop_(loop) {}

    void async(Task task) override;
    void pause(Duration duration) override;

  private:
    Scheduler& loop_;
    /// Gone with the queue, and with it the tasks still waiting on the loop.
    std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
};

}  // namespace tilewise

#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/Scheduler.h"

class QObject;

namespace tilewise {

/// The application's scheduler: tasks run from the Qt event loop of the thread that created
/// it (the main thread), delayed ones through single-shot timers, descriptors through socket
/// notifiers.
class QtScheduler final : public Scheduler {
  public:
    QtScheduler();
    ~QtScheduler() override;

    TaskId schedule(Duration delay, Task task) override;
    void cancel(TaskId id) override;
    std::unique_ptr<ReadableWatch> watchReadable(int descriptor, Task onReadable,
                                                 Watch when) override;
    /// Runs the thread's event loop until `done` holds.
    void runUntil(const std::function<bool()>& done);

  private:
    void run(TaskId id);

    std::unique_ptr<QObject> context_;
    std::mutex mutex_;
    TaskId nextId_ = 1;
    std::unordered_map<TaskId, Task> pending_;
};

}  // namespace tilewise

#include "platform/QtScheduler.h"

#include <QMetaObject>
#include <QObject>
#include <QTimer>

namespace tilewise {

QtScheduler::QtScheduler() : context_(std::make_unique<QObject>()) {}

// Destroying the context object stops its timers and drops queued calls aimed at it, so no
// task can run on a destroyed scheduler.
QtScheduler::~QtScheduler() = default;

Scheduler::TaskId QtScheduler::schedule(Duration delay, Task task) {
    TaskId id;
    {
        std::lock_guard lock{mutex_};
        id = nextId_++;
        pending_.emplace(id, std::move(task));
    }
    const int milliseconds = static_cast<int>(std::max<Duration::rep>(0, delay.count()));
    // Timers must be started on the context's thread; the queued call gets us there from any
    // thread (the window controller's worker posts its results this way).
    QMetaObject::invokeMethod(
        context_.get(),
        [this, id, milliseconds] {
            QTimer::singleShot(milliseconds, context_.get(), [this, id] { run(id); });
        },
        Qt::QueuedConnection);
    return id;
}

void QtScheduler::cancel(TaskId id) {
    std::lock_guard lock{mutex_};
    pending_.erase(id);
}

void QtScheduler::run(TaskId id) {
    Task task;
    {
        std::lock_guard lock{mutex_};
        const auto found = pending_.find(id);
        if (found == pending_.end()) {
            return;
        }
        task = std::move(found->second);
        pending_.erase(found);
    }
    task();
}

}  // namespace tilewise

#include "platform/QtScheduler.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

namespace tilewise {
namespace {

class NotifierWatch final : public ReadableWatch {
  public:
    NotifierWatch(int descriptor, Scheduler::Task onReadable, Scheduler::Watch when)
        : notifier_(descriptor, QSocketNotifier::Read) {
        QObject::connect(&notifier_, &QSocketNotifier::activated, onReadable);
        auto* dispatcher = QAbstractEventDispatcher::instance();
        if (when == Scheduler::Watch::readableOrBeforeSleeping && dispatcher != nullptr) {
            // The notifier is the connection's context, so the call ends with the watch.
            QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, &notifier_,
                             [this, onReadable] {
                                 if (notifier_.isEnabled())
                                     onReadable();
                             });
        }
    }

    void stop() override { notifier_.setEnabled(false); }

  private:
    QSocketNotifier notifier_;
};

}  // namespace

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

std::unique_ptr<ReadableWatch> QtScheduler::watchReadable(int descriptor, Task onReadable,
                                                          Watch when) {
    return std::make_unique<NotifierWatch>(descriptor, std::move(onReadable), when);
}

void QtScheduler::runUntil(const std::function<bool()>& done) {
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
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

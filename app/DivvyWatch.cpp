#include "app/DivvyWatch.h"

#include "app/DivvyMigration.h"

namespace tilewise {

DivvyWatch::DivvyWatch(Workspace& workspace, Scheduler& scheduler)
    : workspace_(workspace), scheduler_(scheduler) {}

DivvyWatch::~DivvyWatch() {
    workspace_.removeObserver(runningObserver_);
    workspace_.removeObserver(exitWatch_);
}

void DivvyWatch::start() {
    const auto divvy = DivvyMigration::runningInstance(workspace_);
    wasRunning_ = divvy.has_value();
    watchExit(divvy);
    // The handler may run on any thread: it only schedules, and scheduling is thread-safe.
    runningObserver_ = workspace_.observeRunningApplications([this] {
        scheduleCheck(Scheduler::Duration::zero());
        scheduleCheck(kRecheckDelay);
    });
}

void DivvyWatch::scheduleCheck(Scheduler::Duration delay) {
    scheduler_.schedule(delay, [weak = std::weak_ptr(self_)] {
        if (const auto self = weak.lock()) {
            (*self)->check();
        }
    });
}

void DivvyWatch::check() {
    const auto divvy = DivvyMigration::runningInstance(workspace_);
    watchExit(divvy);
    if (divvy.has_value() != wasRunning_) {
        report(divvy.has_value());
    }
}

void DivvyWatch::watchExit(const std::optional<RunningApplication>& divvy) {
    if (!divvy || exitWatch_ != kNoObserver) {
        return;
    }
    exitWatch_ = workspace_.watchProcessExit(divvy->processIdentifier, [this] { exited(); });
}

void DivvyWatch::exited() {
    workspace_.removeObserver(exitWatch_);
    exitWatch_ = kNoObserver;
    report(false);
}

void DivvyWatch::report(bool running) {
    wasRunning_ = running;
    if (onChange) {
        onChange(running);
    }
}

}  // namespace tilewise

#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "platform/Observation.h"
#include "platform/Scheduler.h"
#include "platform/Workspace.h"

namespace tilewise {

/// Follows whether Divvy runs: a watch on its process reacts at once to its exit, and every
/// change of the running applications is checked at once and again a second later (the list
/// can change before Divvy's process is fully up or down). Main thread only.
class DivvyWatch {
  public:
    static constexpr Scheduler::Duration kRecheckDelay{1000};

    DivvyWatch(Workspace& workspace, Scheduler& scheduler);
    DivvyWatch(const DivvyWatch&) = delete;
    DivvyWatch& operator=(const DivvyWatch&) = delete;
    ~DivvyWatch();

    /// Records whether Divvy runs now and starts watching; reports nothing for the present
    /// state, only later changes.
    void start();
    bool isRunning() const { return wasRunning_; }

    /// Called with the new state each time Divvy starts or quits.
    std::function<void(bool running)> onChange;

  private:
    void check();
    void watchExit(const std::optional<RunningApplication>& divvy);
    void exited();
    void scheduleCheck(Scheduler::Duration delay);
    void report(bool running);

    Workspace& workspace_;
    Scheduler& scheduler_;
    bool wasRunning_ = false;
    ObserverId runningObserver_ = kNoObserver;
    ObserverId exitWatch_ = kNoObserver;
    // Checks hold it weakly: a check that falls due after the watch has gone does nothing.
    std::shared_ptr<DivvyWatch*> self_ = std::make_shared<DivvyWatch*>(this);
};

}  // namespace tilewise

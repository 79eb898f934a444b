#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Publisher.h"
#include "platform/Scheduler.h"
#include "platform/Workspace.h"
#include "platform/sim/SimDesktop.h"

namespace tilewise::sim {

/// The workspace of the simulated desktop: launching, activating and quitting applications
/// notify observers as the real workspace does; the desktop services record what they were
/// asked. Observers run on the thread that scripts the change (the main thread in tests).
class SimWorkspace final : public Workspace {
  public:
    SimWorkspace(SimDesktop& desktop, Scheduler& scheduler)
        : desktop_(desktop), scheduler_(scheduler) {}

    std::optional<RunningApplication> frontmostApplication() override;
    ProcessId ownProcessIdentifier() override;
    std::vector<RunningApplication> runningApplications() override;
    bool processExists(ProcessId pid) override;
    ObserverId observeApplicationActivation(
        std::function<void(const RunningApplication&)> handler) override;
    ObserverId observeRunningApplications(std::function<void()> handler) override;
    ObserverId watchProcessExit(ProcessId pid, std::function<void()> handler) override;
    void removeObserver(ObserverId id) override;
    bool openURL(std::string_view url) override;
    bool revealFile(std::string_view path) override;
    void beep() override;
    bool shouldReduceMotion() override;

    /// Adds a running application and tells the running-list observers.
    ProcessId launch(SimApplication application);
    /// Brings an application to the front (absent: nothing in front) and tells the
    /// activation observers.
    void activate(std::optional<ProcessId> pid);
    /// Ends an application's process: it stays listed, marked terminated, the exit watches on
    /// it fire and the running-list observers are told.
    void terminate(ProcessId pid);

    std::vector<std::string> openedURLs() const;
    std::vector<std::string> revealedFiles() const;
    int beepCount() const;
    void setReduceMotion(bool on);
    void setOpenURLSucceeds(bool succeeds);

  private:
    struct ExitWatch {
        ProcessId pid;
        std::function<void()> handler;
    };

    static RunningApplication describe(const SimApplication& application);
    void notifyRunningApplications();

    SimDesktop& desktop_;
    Scheduler& scheduler_;
    mutable std::mutex mutex_;
    Publisher<RunningApplication> activationObservers_;
    Publisher<> runningObservers_;
    std::map<ObserverId, ExitWatch> exitWatches_;
    std::map<ObserverId, Scheduler::TaskId> exitsAlreadyDue_;
    std::vector<std::string> openedURLs_;
    std::vector<std::string> revealedFiles_;
    int beeps_ = 0;
    bool reduceMotion_ = false;
    bool openURLSucceeds_ = true;
};

}  // namespace tilewise::sim

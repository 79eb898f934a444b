#include "platform/sim/SimWorkspace.h"

namespace tilewise::sim {

RunningApplication SimWorkspace::describe(const SimApplication& application) {
    return {application.pid, application.bundleIdentifier, application.localizedName,
            application.icon, application.isTerminated};
}

std::optional<RunningApplication> SimWorkspace::frontmostApplication() {
    const auto pid = desktop_.frontmostPid();
    if (!pid) {
        return std::nullopt;
    }
    const auto application = desktop_.application(*pid);
    if (!application || application->isTerminated) {
        return std::nullopt;
    }
    return describe(*application);
}

ProcessId SimWorkspace::ownProcessIdentifier() {
    return desktop_.ownPid();
}

std::vector<RunningApplication> SimWorkspace::runningApplications() {
    std::vector<RunningApplication> running;
    for (const auto& application : desktop_.applications()) {
        running.push_back(describe(application));
    }
    return running;
}

bool SimWorkspace::processExists(ProcessId pid) {
    const auto application = desktop_.application(pid);
    return application && application->processExists;
}

ObserverId SimWorkspace::observeApplicationActivation(
    std::function<void(const RunningApplication&)> handler) {
    return activationObservers_.add(std::move(handler));
}

ObserverId SimWorkspace::observeRunningApplications(std::function<void()> handler) {
    return runningObservers_.add(std::move(handler));
}

ObserverId SimWorkspace::watchProcessExit(ProcessId pid, std::function<void()> handler) {
    std::lock_guard lock{mutex_};
    const ObserverId id = newObserverId();
    if (processExists(pid)) {
        exitWatches_.emplace(id, ExitWatch{pid, std::move(handler)});
        return id;
    }
    // Already gone: the watch fires from the main loop, and can still be removed until then.
    exitsAlreadyDue_[id] = scheduler_.post([this, id, handler = std::move(handler)] {
        {
            std::lock_guard lock{mutex_};
            exitsAlreadyDue_.erase(id);
        }
        handler();
    });
    return id;
}

void SimWorkspace::removeObserver(ObserverId id) {
    activationObservers_.remove(id);
    runningObservers_.remove(id);
    std::lock_guard lock{mutex_};
    exitWatches_.erase(id);
    if (const auto due = exitsAlreadyDue_.find(id); due != exitsAlreadyDue_.end()) {
        scheduler_.cancel(due->second);
        exitsAlreadyDue_.erase(due);
    }
}

bool SimWorkspace::openURL(std::string_view url) {
    std::lock_guard lock{mutex_};
    if (!openURLSucceeds_) {
        return false;
    }
    openedURLs_.emplace_back(url);
    return true;
}

bool SimWorkspace::revealFile(std::string_view path) {
    std::lock_guard lock{mutex_};
    revealedFiles_.emplace_back(path);
    return true;
}

void SimWorkspace::beep() {
    std::lock_guard lock{mutex_};
    ++beeps_;
}

bool SimWorkspace::shouldReduceMotion() {
    std::lock_guard lock{mutex_};
    return reduceMotion_;
}

ProcessId SimWorkspace::launch(SimApplication application) {
    const ProcessId pid = desktop_.addApplication(std::move(application));
    notifyRunningApplications();
    return pid;
}

void SimWorkspace::activate(std::optional<ProcessId> pid) {
    desktop_.setFrontmostPid(pid);
    const auto front = frontmostApplication();
    if (!front) {
        return;
    }
    activationObservers_.publish(*front);
}

void SimWorkspace::terminate(ProcessId pid) {
    desktop_.modifyApplication(pid, [](SimApplication& application) {
        application.isTerminated = true;
        application.processExists = false;
    });
    if (desktop_.frontmostPid() == pid) {
        desktop_.setFrontmostPid(std::nullopt);
    }
    std::vector<std::function<void()>> fired;
    {
        std::lock_guard lock{mutex_};
        std::erase_if(exitWatches_, [&](auto& entry) {
            if (entry.second.pid != pid) {
                return false;
            }
            fired.push_back(std::move(entry.second.handler));
            return true;
        });
    }
    for (const auto& handler : fired) {
        handler();
    }
    notifyRunningApplications();
}

void SimWorkspace::notifyRunningApplications() {
    runningObservers_.publish();
}

std::vector<std::string> SimWorkspace::openedURLs() const {
    std::lock_guard lock{mutex_};
    return openedURLs_;
}

std::vector<std::string> SimWorkspace::revealedFiles() const {
    std::lock_guard lock{mutex_};
    return revealedFiles_;
}

int SimWorkspace::beepCount() const {
    std::lock_guard lock{mutex_};
    return beeps_;
}

void SimWorkspace::setReduceMotion(bool on) {
    std::lock_guard lock{mutex_};
    reduceMotion_ = on;
}

void SimWorkspace::setOpenURLSucceeds(bool succeeds) {
    std::lock_guard lock{mutex_};
    openURLSucceeds_ = succeeds;
}

}  // namespace tilewise::sim

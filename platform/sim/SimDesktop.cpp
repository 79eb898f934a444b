#include "platform/sim/SimDesktop.h"

namespace tilewise::sim {

ProcessId SimDesktop::addApplication(SimApplication application) {
    std::lock_guard lock{mutex_};
    const ProcessId pid = application.pid;
    state_.applications.insert_or_assign(pid, std::move(application));
    return pid;
}

WindowId SimDesktop::addWindow(ProcessId pid, SimWindow window) {
    std::lock_guard lock{mutex_};
    const auto owner = state_.applications.find(pid);
    if (owner == state_.applications.end()) {
        return 0;
    }
    const WindowId id = nextWindowId_++;
    state_.windows.emplace(id, std::move(window));
    state_.windowOwners.emplace(id, pid);
    auto& application = owner->second;
    if (application.windows.empty()) {
        application.focusedWindow = id;
        application.mainWindow = id;
    }
    application.windows.push_back(id);
    return id;
}

std::optional<SimApplication> SimDesktop::application(ProcessId pid) const {
    std::lock_guard lock{mutex_};
    const auto found = state_.applications.find(pid);
    return found == state_.applications.end() ? std::nullopt : std::optional{found->second};
}

std::optional<SimWindow> SimDesktop::window(WindowId id) const {
    std::lock_guard lock{mutex_};
    const auto found = state_.windows.find(id);
    return found == state_.windows.end() ? std::nullopt : std::optional{found->second};
}

std::vector<SimApplication> SimDesktop::applications() const {
    std::lock_guard lock{mutex_};
    std::vector<SimApplication> all;
    for (const auto& [pid, application] : state_.applications) {
        all.push_back(application);
    }
    return all;
}

bool SimDesktop::modifyApplication(ProcessId pid,
                                   const std::function<void(SimApplication&)>& change) {
    std::lock_guard lock{mutex_};
    const auto found = state_.applications.find(pid);
    if (found == state_.applications.end()) {
        return false;
    }
    change(found->second);
    return true;
}

bool SimDesktop::modifyWindow(WindowId id, const std::function<void(SimWindow&)>& change) {
    std::lock_guard lock{mutex_};
    const auto found = state_.windows.find(id);
    if (found == state_.windows.end()) {
        return false;
    }
    change(found->second);
    return true;
}

void SimDesktop::closeWindow(WindowId id) {
    modifyWindow(id, [](SimWindow& window) { window.closed = true; });
}

std::optional<ProcessId> SimDesktop::frontmostPid() const {
    std::lock_guard lock{mutex_};
    return frontmostPid_;
}

void SimDesktop::setFrontmostPid(std::optional<ProcessId> pid) {
    std::lock_guard lock{mutex_};
    frontmostPid_ = pid;
}

bool SimDesktop::trusted() const {
    std::lock_guard lock{mutex_};
    return trusted_;
}

void SimDesktop::setTrusted(bool trusted) {
    std::lock_guard lock{mutex_};
    trusted_ = trusted;
}

int SimDesktop::trustPromptCount() const {
    std::lock_guard lock{mutex_};
    return trustPrompts_;
}

void SimDesktop::countTrustPrompt() {
    std::lock_guard lock{mutex_};
    ++trustPrompts_;
}

}  // namespace tilewise::sim

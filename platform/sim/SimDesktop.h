#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/Accessibility.h"
#include "platform/Workspace.h"

namespace tilewise::sim {

using WindowId = std::uint64_t;

/// One write an application received, with the state of its enhanced user interface then.
struct SimWrite {
    std::string attribute;
    AXValue value;
    std::optional<bool> enhancedUserInterface;
};

/// A window of a simulated application, with the ways real windows misbehave.
struct SimWindow {
    /// Never reaches the requested position, however often it is asked.
    static constexpr int kIgnoresAllPositionWrites = std::numeric_limits<int>::max();

    std::optional<std::string> subrole = std::string{kAXStandardWindowSubrole};
    Rect frame{100, 100, 800, 600};
    bool minimized = false;
    bool fullScreen = false;
    bool positionSettable = true;
    bool sizeSettable = true;
    std::optional<Size> minimumSize;
    std::optional<Size> maximumSize;
    Size sizeIncrement;             ///< sizes step from the minimum (or 0) by this much
    int positionWritesIgnored = 0;  ///< position writes answered with success but not obeyed
    Point drift;                    ///< each obeyed position write lands this much further off
    std::optional<int> closesAfterWrites;  ///< the window goes away after this many writes

    /// Answers given instead of the real value, by attribute: errors, no value, wrong types.
    std::map<std::string, AXCopyResult, std::less<>> readOverrides;
    std::map<std::string, AXError, std::less<>> writeErrors;
    std::map<std::string, AXSettableResult, std::less<>> settableOverrides;

    // Filled in by the simulation.
    bool closed = false;
    int obeyedPositionWrites = 0;
    std::optional<float> messagingTimeout;
    std::vector<SimWrite> writes;
};

/// A simulated application: a process with windows, answering Accessibility requests.
struct SimApplication {
    ProcessId pid = 0;
    std::optional<std::string> bundleIdentifier;
    std::optional<std::string> localizedName;
    std::shared_ptr<const Image> icon;
    std::optional<WindowId> focusedWindow;
    std::optional<WindowId> mainWindow;
    bool unresponsive = false;                  ///< every call on it or its windows times out
    std::optional<bool> enhancedUserInterface;  ///< absent: the attribute is unsupported
    std::map<std::string, AXCopyResult, std::less<>> readOverrides;

    // Filled in by the simulation.
    std::vector<WindowId> windows;
    bool isTerminated = false;
    bool processExists = true;
    std::optional<float> messagingTimeout;
    std::vector<bool> enhancedUserInterfaceWrites;
};

/// Everything the simulated applications hold, as the Accessibility side sees it.
struct SimDesktopState {
    std::map<ProcessId, SimApplication> applications;
    std::map<WindowId, SimWindow> windows;
    std::map<WindowId, ProcessId> windowOwners;
};

/// The applications and windows of the simulated desktop and the process's trust. Every
/// member is safe to call from any thread, so a worker thread may drive it while a test or
/// the demo scripts it.
class SimDesktop {
  public:
    explicit SimDesktop(ProcessId ownPid = 1000) : ownPid_(ownPid) {}
    SimDesktop(const SimDesktop&) = delete;
    SimDesktop& operator=(const SimDesktop&) = delete;

    ProcessId ownPid() const { return ownPid_; }

    /// Adds an application (its pid must be new); returns its pid.
    ProcessId addApplication(SimApplication application);
    /// Adds a window at the end of the application's window list; the first window of an
    /// application without one becomes its focused and main window. Returns 0 for an unknown
    /// application.
    WindowId addWindow(ProcessId pid, SimWindow window);

    std::optional<SimApplication> application(ProcessId pid) const;
    std::optional<SimWindow> window(WindowId id) const;
    std::vector<SimApplication> applications() const;
    /// Changes an application or window in place; false when there is none with that id.
    bool modifyApplication(ProcessId pid, const std::function<void(SimApplication&)>& change);
    bool modifyWindow(WindowId id, const std::function<void(SimWindow&)>& change);
    /// Closes a window: later calls on its element fail as for a vanished window.
    void closeWindow(WindowId id);

    std::optional<ProcessId> frontmostPid() const;
    void setFrontmostPid(std::optional<ProcessId> pid);

    bool trusted() const;
    void setTrusted(bool trusted);
    int trustPromptCount() const;
    void countTrustPrompt();

    /// Runs `body` under the desktop's lock with the whole state, for the Accessibility side.
    template <typename Body>
    auto withState(Body&& body) {
        std::lock_guard lock{mutex_};
        return body(state_);
    }

  private:
    mutable std::mutex mutex_;
    ProcessId ownPid_;
    SimDesktopState state_;
    WindowId nextWindowId_ = 1;
    std::optional<ProcessId> frontmostPid_;
    bool trusted_ = true;
    int trustPrompts_ = 0;
};

}  // namespace tilewise::sim

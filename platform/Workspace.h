#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Image.h"
#include "platform/Observation.h"

namespace tilewise {

using ProcessId = std::int32_t;

/// One running application as the workspace reports it.
struct RunningApplication {
    ProcessId processIdentifier = 0;
    std::optional<std::string> bundleIdentifier;  ///< on X11, the window class
    std::optional<std::string> localizedName;
    std::shared_ptr<const Image> icon;  ///< null when the application has none
    bool isTerminated = false;

    bool operator==(const RunningApplication&) const = default;
};

/// The shared workspace: which applications run and which one is in front, plus the few
/// desktop services the application asks for. Called on the main thread unless noted;
/// observer callbacks run on the main thread unless noted.
class Workspace {
  public:
    Workspace() = default;
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;
    virtual ~Workspace() = default;

    /// The application that owns the menu bar (on X11: the owner of the active window); absent
    /// when none is, which is a normal state, not an error.
    virtual std::optional<RunningApplication> frontmostApplication() = 0;
    /// This process's id. Never fails.
    virtual ProcessId ownProcessIdentifier() = 0;
    /// The running applications in the system's order; empty when they cannot be listed.
    virtual std::vector<RunningApplication> runningApplications() = 0;
    /// Whether the process exists: a signal-0 probe succeeds or fails only for lack of
    /// permission. False for a process that has exited.
    virtual bool processExists(ProcessId pid) = 0;

    /// Calls `handler` with the application that just became frontmost.
    virtual ObserverId observeApplicationActivation(
        std::function<void(const RunningApplication&)> handler) = 0;
    /// Calls `handler` whenever the list of running applications changed. The handler may run
    /// on any thread and should only schedule work on the main thread.
    virtual ObserverId observeRunningApplications(std::function<void()> handler) = 0;
    /// Calls `handler` once when process `pid` exits (at once, from the main loop, when it has
    /// already gone). Returns kNoObserver when the watch cannot be set up.
    virtual ObserverId watchProcessExit(ProcessId pid, std::function<void()> handler) = 0;
    /// Removes an observer or a process watch; unknown ids and kNoObserver are ignored.
    virtual void removeObserver(ObserverId id) = 0;

    /// Opens a URL with the desktop's handler; false when nothing could open it.
    virtual bool openURL(std::string_view url) = 0;
    /// Shows a file selected in the desktop's file manager; false when that failed.
    virtual bool revealFile(std::string_view path) = 0;
    /// Plays the system alert sound; silently does nothing where there is none.
    virtual void beep() = 0;
    /// Whether the user asked for reduced motion; false when the setting cannot be read.
    virtual bool shouldReduceMotion() = 0;
};

}  // namespace tilewise

#pragma once

#include <map>
#include <memory>

#include "platform/Publisher.h"
#include "platform/Scheduler.h"
#include "platform/Workspace.h"
#include "platform/x11/Atoms.h"
#include "platform/x11/ClientProcess.h"
#include "platform/x11/Properties.h"
#include "platform/x11/X11EventLoop.h"

namespace tilewise::x11 {

/// The workspace on X11: applications are the processes of the window manager's clients
/// (see ClientProcess), named by their window class; the frontmost one owns the active window.
class X11Workspace final : public Workspace {
  public:
    X11Workspace(Display* display, const Atoms& atoms, X11EventLoop& events, Scheduler& mainQueue);
    ~X11Workspace() override;

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
    /// From TILEWISE_REDUCE_MOTION=1 in the environment; X11 desktops keep no common setting.
    bool shouldReduceMotion() override;

  private:
    std::optional<RunningApplication> applicationOf(Window client);
    static std::optional<RunningApplication> applicationFrom(ClientProcess::OwnerRead& owner,
                                                             Properties::PendingRead& windowClass);
    bool isDesktopPart(const std::optional<std::vector<long>>& types) const;
    void handle(const XEvent& event);

    /// A process's pidfd and the watch on it, closed together.
    struct ExitWatch {
        ExitWatch(int descriptor, std::unique_ptr<ReadableWatch> watch)
            : descriptor(descriptor), watch(std::move(watch)) {}
        ExitWatch(const ExitWatch&) = delete;
        ExitWatch& operator=(const ExitWatch&) = delete;
        ~ExitWatch();

        int descriptor;
        std::unique_ptr<ReadableWatch> watch;
    };

    Display* display_;
    const Atoms& atoms_;
    X11EventLoop& events_;
    Scheduler& mainQueue_;
    std::uint64_t listener_ = 0;
    std::optional<ProcessId> lastFrontmost_;
    Publisher<RunningApplication> activationObservers_;
    Publisher<> listObservers_;
    std::map<ObserverId, ExitWatch> exitWatches_;
};

}  // namespace tilewise::x11

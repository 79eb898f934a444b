#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <expected>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>

#include "app/WindowAccess.h"
#include "app/WindowError.h"
#include "app/WindowTarget.h"
#include "platform/Accessibility.h"
#include "platform/Scheduler.h"
#include "platform/SerialQueue.h"
#include "platform/Workspace.h"

namespace tilewise {

/// Captures the frontmost application's window and moves and resizes it. Every call into
/// another application runs on the controller's own serial queue; completions run on the
/// main thread. A newer apply makes every older one that has not finished end `superseded`.
class WindowController {
  public:
    using CaptureResult = std::expected<WindowTarget, WindowError>;
    using ApplyOutcome = std::expected<ApplyResult, WindowError>;
    using CaptureCompletion = std::function<void(CaptureResult)>;
    using ApplyCompletion = std::function<void(ApplyOutcome)>;

    static constexpr float kMessagingTimeout = 0.5f;
    static constexpr int kMaxAttempts = 3;
    /// The pause before each attempt; none before the first.
    static constexpr std::array<SerialQueue::Duration, kMaxAttempts> kAttemptPauses{
        SerialQueue::Duration{0}, SerialQueue::Duration{50}, SerialQueue::Duration{150}};

    /// `mainQueue` delivers completions on the main thread; `queue` is owned and drained of
    /// running work before the controller goes away.
    WindowController(Accessibility& accessibility, Workspace& workspace, Scheduler& mainQueue,
                     std::unique_ptr<SerialQueue> queue);
    WindowController(const WindowController&) = delete;
    WindowController& operator=(const WindowController&) = delete;
    ~WindowController();

    /// The focused window of the frontmost application. Missing trust, no frontmost
    /// application and this application in front complete before the call returns; anything
    /// else completes later, on the main thread.
    void captureFocusedTarget(CaptureCompletion completion);
    /// Moves and resizes `target` to `frame` (top-left space) with up to three attempts and
    /// reports where it really ended up. Called on the main thread.
    void apply(const Rect& frame, const WindowTarget& target, ApplyCompletion completion);

  private:
    using ResolvedWindow = std::pair<AXElement, Rect>;

    std::expected<ResolvedWindow, WindowError> resolveWindow(ProcessId pid);
    std::optional<AXElement> focusedOrMainWindow(const AXElement& application,
                                                 std::optional<WindowError>& failure);
    std::optional<AXElement> firstStandardWindow(const AXElement& application);
    std::optional<WindowError> checkArrangeable(const AXElement& window);
    ApplyOutcome perform(const Rect& frame, const WindowTarget& target,
                         const std::function<bool()>& isStale);
    ApplyOutcome attempt(const Rect& frame, const AXElement& window,
                         const std::function<bool()>& isStale);
    std::optional<WindowError> writeFrame(const AXElement& window, const Rect& frame);

    std::int64_t nextGeneration();
    std::int64_t currentGeneration() const;
    void endApplyInterval(std::int64_t generation, std::chrono::steady_clock::time_point began,
                          bool stale) const;
    template <typename Result>
    void complete(std::function<void(Result)> completion, Result result);

    Accessibility& accessibility_;
    Workspace& workspace_;
    Scheduler& mainQueue_;
    WindowAccess access_;
    mutable std::mutex generationLock_;
    std::int64_t generation_ = 0;
    // Last, so that it is destroyed first: no queued work outlives the members it uses.
    std::unique_ptr<SerialQueue> queue_;
};

}  // namespace tilewise

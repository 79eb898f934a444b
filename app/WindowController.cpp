#include "app/WindowController.h"

#include <cstdio>
#include <string>

#include "platform/Log.h"

namespace tilewise {

WindowController::WindowController(Accessibility& accessibility, Workspace& workspace,
                                   Scheduler& mainQueue, std::unique_ptr<SerialQueue> queue)
    : accessibility_(accessibility),
      workspace_(workspace),
      mainQueue_(mainQueue),
      access_(accessibility),
      queue_(std::move(queue)) {}

WindowController::~WindowController() = default;

template <typename Result>
void WindowController::complete(std::function<void(Result)> completion, Result result) {
    // Only the completion travels: it must not reach back into a controller that may be gone.
    mainQueue_.post([completion = std::move(completion), result = std::move(result)]() mutable {
        completion(std::move(result));
    });
}

void WindowController::captureFocusedTarget(CaptureCompletion completion) {
    if (!accessibility_.isProcessTrusted()) {
        completion(std::unexpected(WindowError::Kind::permissionMissing));
        return;
    }
    const auto front = workspace_.frontmostApplication();
    if (!front) {
        completion(std::unexpected(WindowError::Kind::noFrontmostApp));
        return;
    }
    if (front->processIdentifier == workspace_.ownProcessIdentifier()) {
        completion(std::unexpected(WindowError::Kind::tilewiseItself));
        return;
    }
    queue_->async([this, app = *front, completion = std::move(completion)]() mutable {
        auto resolved = resolveWindow(app.processIdentifier);
        if (!resolved) {
            complete<CaptureResult>(std::move(completion), std::unexpected(resolved.error()));
            return;
        }
        auto& [window, frame] = *resolved;
        const std::uint64_t hash = accessibility_.hash(window);
        complete<CaptureResult>(
            std::move(completion),
            WindowTarget{app.processIdentifier, std::move(window),
                         app.localizedName.value_or("app"), app.icon, frame, hash});
    });
}

std::optional<AXElement> WindowController::focusedOrMainWindow(
    const AXElement& application, std::optional<WindowError>& failure) {
    for (const auto attribute : {AXAttribute::focusedWindow, AXAttribute::mainWindow}) {
        const auto read = accessibility_.copyAttributeValue(application, attribute);
        if (read.error == kAXErrorAPIDisabled || read.error == kAXErrorCannotComplete) {
            failure = WindowAccess::errorFor(read.error);
            return std::nullopt;
        }
        if (read.error == kAXErrorSuccess && read.value) {
            if (const auto* window = std::get_if<AXElement>(&*read.value)) {
                return *window;
            }
        }
    }
    return std::nullopt;
}

std::optional<AXElement> WindowController::firstStandardWindow(const AXElement& application) {
    const auto windows = access_.copyArray(application, AXAttribute::windows);
    if (!windows) {
        return std::nullopt;
    }
    for (const auto& window : *windows) {
        const auto subrole = access_.copyAttribute(window, AXAttribute::subrole);
        if (!subrole) {
            continue;
        }
        const auto* name = std::get_if<std::string>(&*subrole);
        if (name && *name == kAXStandardWindowSubrole) {
            return window;
        }
    }
    return std::nullopt;
}

std::optional<WindowError> WindowController::checkArrangeable(const AXElement& window) {
    if (access_.readsTrue(window, AXAttribute::minimized)) {
        return WindowError::Kind::minimized;
    }
    if (access_.readsTrue(window, AXAttribute::fullScreen)) {
        return WindowError::Kind::fullScreen;
    }
    // Refused only when neither position nor size can be set: a window fixed in place can
    // still be resized, and a fixed-size one moved. A window that vanished meanwhile or an
    // application that does not answer is not one that refuses.
    for (const auto attribute : {AXAttribute::position, AXAttribute::size}) {
        const auto settable = accessibility_.isAttributeSettable(window, attribute);
        if (settable.error == kAXErrorSuccess && settable.settable) {
            return std::nullopt;
        }
        if (settable.error == kAXErrorInvalidUIElement) {
            return WindowError::Kind::windowClosed;
        }
        if (settable.error == kAXErrorCannotComplete) {
            return WindowError::Kind::appUnresponsive;
        }
    }
    return WindowError::Kind::notResizable;
}

std::expected<WindowController::ResolvedWindow, WindowError> WindowController::resolveWindow(
    ProcessId pid) {
    const AXElement application = accessibility_.createApplication(pid);
    accessibility_.setMessagingTimeout(application, kMessagingTimeout);
    std::optional<WindowError> failure;
    auto window = focusedOrMainWindow(application, failure);
    if (failure) {
        return std::unexpected(*failure);
    }
    if (!window) {
        window = firstStandardWindow(application);
    }
    if (!window) {
        return std::unexpected(WindowError::Kind::noWindow);
    }
    accessibility_.setMessagingTimeout(*window, kMessagingTimeout);
    if (auto refused = checkArrangeable(*window)) {
        return std::unexpected(*refused);
    }
    auto frame = access_.readFrame(*window);
    if (!frame) {
        return std::unexpected(frame.error());
    }
    return ResolvedWindow{*window, *frame};
}

std::int64_t WindowController::nextGeneration() {
    std::lock_guard lock{generationLock_};
    return ++generation_;
}

std::int64_t WindowController::currentGeneration() const {
    std::lock_guard lock{generationLock_};
    return generation_;
}

void WindowController::endApplyInterval(std::int64_t generation,
                                        std::chrono::steady_clock::time_point began,
                                        bool stale) const {
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - began;
    char message[96];
    std::snprintf(message, sizeof message, "apply %lld end (%.1f ms)%s",
                  static_cast<long long>(generation), elapsed.count(), stale ? ": stale" : "");
    Log::write(LogCategory::windows, LogLevel::debug, message);
}

void WindowController::apply(const Rect& frame, const WindowTarget& target,
                             ApplyCompletion completion) {
    const std::int64_t generation = nextGeneration();
    const auto began = std::chrono::steady_clock::now();
    Log::write(LogCategory::windows, LogLevel::debug,
               "apply " + std::to_string(generation) + " begin");
    queue_->async(
        [this, frame, target, generation, began, completion = std::move(completion)]() mutable {
            if (currentGeneration() != generation) {
                endApplyInterval(generation, began, true);
                complete<ApplyOutcome>(std::move(completion),
                                       std::unexpected(WindowError::Kind::superseded));
                return;
            }
            auto outcome = perform(
                frame, target, [this, generation] { return currentGeneration() != generation; });
            endApplyInterval(generation, began, false);
            complete(std::move(completion), std::move(outcome));
        });
}

WindowController::ApplyOutcome WindowController::perform(const Rect& frame,
                                                         const WindowTarget& target,
                                                         const std::function<bool()>& isStale) {
    accessibility_.setMessagingTimeout(target.element, kMessagingTimeout);
    const AXElement application = accessibility_.createApplication(target.pid);
    accessibility_.setMessagingTimeout(application, kMessagingTimeout);
    // Assistive-technology mode makes some applications animate or defer frame changes;
    // switch it off for the writes and put it back however the attempts end.
    const bool enhanced = access_.readsTrue(application, AXAttribute::enhancedUserInterface);
    if (enhanced) {
        accessibility_.setAttributeValue(application, AXAttribute::enhancedUserInterface, false);
    }
    auto outcome = attempt(frame, target.element, isStale);
    if (enhanced) {
        accessibility_.setAttributeValue(application, AXAttribute::enhancedUserInterface, true);
    }
    return outcome;
}

std::optional<WindowError> WindowController::writeFrame(const AXElement& window,
                                                        const Rect& frame) {
    // Size first so that a move near a display's edge is not refused for the old size, then
    // size again in case the move itself made the application shrink the window.
    const std::array errors{access_.setSize(window, frame.size),
                            access_.setPosition(window, frame.origin),
                            access_.setSize(window, frame.size)};
    for (const auto& error : errors) {
        if (error && (error->kind() == WindowError::Kind::appUnresponsive ||
                      error->kind() == WindowError::Kind::windowClosed)) {
            return error;
        }
    }
    return std::nullopt;
}

WindowController::ApplyOutcome WindowController::attempt(const Rect& frame, const AXElement& window,
                                                         const std::function<bool()>& isStale) {
    Rect firstActual;
    Rect actual;
    FrameOutcome outcome = FrameOutcome::exact();
    for (int k = 0; k < kMaxAttempts; ++k) {
        if (kAttemptPauses[k] > SerialQueue::Duration::zero()) {
            queue_->pause(kAttemptPauses[k]);
        }
        if (isStale()) {
            return std::unexpected(WindowError::Kind::superseded);
        }
        if (auto error = writeFrame(window, frame)) {
            return std::unexpected(*error);
        }
        auto read = access_.readFrame(window);
        if (!read) {
            // Lost trust and a silent application keep their own sentences; any other
            // failure to read back means the window is gone.
            const auto kind = read.error().kind();
            const bool keep = kind == WindowError::Kind::permissionMissing ||
                              kind == WindowError::Kind::appUnresponsive;
            return std::unexpected(keep ? read.error() : WindowError::Kind::windowClosed);
        }
        actual = *read;
        outcome = FrameComparison::evaluate(frame, actual, FrameComparison::kDefaultTolerance);
        if (outcome.kind() == FrameOutcome::Kind::exact || (k == 1 && actual == firstActual)) {
            break;
        }
        if (k == 0) {
            firstActual = actual;
        }
    }
    if (outcome.kind() == FrameOutcome::Kind::rejected) {
        Log::info(LogCategory::windows, "frame rejected by target app");
    }
    const bool applicationLimitsSize =
        outcome.kind() == FrameOutcome::Kind::exact ||
        accessibility_.applicationLimitsSize(window, frame.size, actual.size);
    return ApplyResult{frame, actual, outcome, applicationLimitsSize};
}

}  // namespace tilewise

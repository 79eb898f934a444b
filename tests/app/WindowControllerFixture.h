#pragma once

#include <memory>
#include <optional>
#include <ostream>

#include <gtest/gtest.h>

#include "app/WindowController.h"
#include "platform/ManualScheduler.h"
#include "platform/ManualSerialQueue.h"
#include "platform/sim/SimAccessibility.h"
#include "platform/sim/SimWorkspace.h"

namespace tilewise {

inline void PrintTo(const WindowError& error, std::ostream* os) {
    *os << error.userDescription();
}

/// A window controller on the simulated desktop whose queue and main thread the test drives.
class WindowControllerFixture : public ::testing::Test {
  public:
    static constexpr ProcessId kPid = 501;

  protected:

    WindowControllerFixture() {
        auto owned = std::make_unique<ManualSerialQueue>();
        queue = owned.get();
        controller = std::make_unique<WindowController>(accessibility, workspace, scheduler,
                                                        std::move(owned));
    }

    /// Launches an application with one window and brings it to the front.
    sim::WindowId frontmostWindow(sim::SimWindow window = {},
                                  sim::SimApplication app = {.pid = kPid,
                                                             .localizedName = "Editor"}) {
        const ProcessId pid = workspace.launch(std::move(app));
        workspace.activate(pid);
        return desktop.addWindow(pid, std::move(window));
    }

    /// Runs the worker, then the main thread, as the two threads would.
    void settle() {
        queue->drain();
        scheduler.runUntilIdle();
    }

    WindowController::CaptureResult capture() {
        std::optional<WindowController::CaptureResult> result;
        controller->captureFocusedTarget([&](auto outcome) { result = std::move(outcome); });
        settle();
        EXPECT_TRUE(result.has_value()) << "capture never completed";
        return result.value_or(std::unexpected(WindowError::Kind::noWindow));
    }

    WindowTarget captureTarget() {
        auto result = capture();
        EXPECT_TRUE(result.has_value()) << result.error().userDescription();
        return result.value_or(WindowTarget{});
    }

    WindowController::ApplyOutcome applyFrame(const Rect& frame, const WindowTarget& target) {
        std::optional<WindowController::ApplyOutcome> result;
        controller->apply(frame, target, [&](auto outcome) { result = std::move(outcome); });
        settle();
        EXPECT_TRUE(result.has_value()) << "apply never completed";
        return result.value_or(std::unexpected(WindowError::Kind::noWindow));
    }

    /// How many write attempts a window received (each attempt writes three times).
    int attemptsOn(sim::WindowId id) const {
        return static_cast<int>(desktop.window(id)->writes.size()) / 3;
    }

    ManualScheduler scheduler;
    sim::SimDesktop desktop{1};
    sim::SimAccessibility accessibility{desktop};
    sim::SimWorkspace workspace{desktop, scheduler};
    ManualSerialQueue* queue = nullptr;
    std::unique_ptr<WindowController> controller;
};

}  // namespace tilewise

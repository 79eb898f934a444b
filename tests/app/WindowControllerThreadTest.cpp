#include "app/WindowController.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <thread>

#include <gtest/gtest.h>

#include "platform/QtScheduler.h"
#include "platform/ThreadSerialQueue.h"
#include "platform/sim/SimPlatform.h"
#include "tests/support/Printers.h"

namespace tilewise {
namespace {

// Spins the event loop until `done` holds; the deadline only guards against a hang.
template <typename Predicate>
bool processEventsUntil(Predicate done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

// The controller as the application runs it: a worker thread of its own, completions through
// the Qt event loop, the platform reached only through its interfaces.
class WindowControllerThreadTest : public ::testing::Test {
  protected:
    WindowControllerThreadTest() {
        sim.workspaceService.launch({.pid = kPid, .localizedName = "Editor"});
        sim.workspaceService.activate(kPid);
        window = sim.desktop.addWindow(kPid, {.positionWritesIgnored = 1});
    }

    static constexpr ProcessId kPid = 77;
    int argc = 1;
    char name[16] = "controller-test";
    char* argv[1] = {name};
    QCoreApplication application{argc, argv};
    QtScheduler scheduler;
    sim::SimPlatform sim{scheduler, {}};
    Platform& platform = sim;
    WindowController controller{platform.accessibility(), platform.workspace(), scheduler,
                                std::make_unique<ThreadSerialQueue>("tilewise.ax")};
    sim::WindowId window = 0;
};

TEST_F(WindowControllerThreadTest, CapturesAndAppliesOnTheWorkerAndCompletesOnTheMainThread) {
    std::optional<WindowController::CaptureResult> captured;
    std::thread::id completionThread;
    controller.captureFocusedTarget([&](auto result) {
        completionThread = std::this_thread::get_id();
        captured = std::move(result);
    });
    ASSERT_TRUE(processEventsUntil([&] { return captured.has_value(); }));
    ASSERT_TRUE(captured->has_value()) << captured->error().userDescription();
    EXPECT_EQ(completionThread, std::this_thread::get_id());

    // The first request needs a second attempt, so it is still pausing on the worker when the
    // second one arrives, and gives up at its next check.
    const Rect requested{0, 0, 500, 400};
    std::vector<WindowController::ApplyOutcome> results;
    controller.apply({10, 10, 300, 300}, **captured,
                     [&](auto r) { results.push_back(std::move(r)); });
    controller.apply(requested, **captured, [&](auto r) { results.push_back(std::move(r)); });
    ASSERT_TRUE(processEventsUntil([&] { return results.size() == 2; }));

    EXPECT_EQ(results[0], std::unexpected(WindowError{WindowError::Kind::superseded}));
    ASSERT_TRUE(results[1].has_value());
    EXPECT_EQ(results[1]->outcome, FrameOutcome::exact());
    EXPECT_EQ(sim.desktop.window(window)->frame, requested);
}

}  // namespace
}  // namespace tilewise

#include "app/WindowController.h"

#include <algorithm>
#include <cmath>

#include "tests/app/WindowControllerFixture.h"
#include "tests/support/LogCapture.h"
#include "tests/support/Printers.h"

namespace tilewise {
namespace {

using namespace std::chrono_literals;
using sim::SimApplication;
using sim::SimWindow;
using Kind = WindowError::Kind;
using Pauses = std::vector<SerialQueue::Duration>;

constexpr Rect kRequested{200, 150, 720, 450};

class WindowControllerApplyTest : public WindowControllerFixture {
  protected:
    std::vector<std::string> rejectedMessages() const {
        auto messages = log.messages(LogCategory::windows, LogLevel::info);
        std::erase_if(messages, [](const auto& m) { return m != "frame rejected by target app"; });
        return messages;
    }

    LogCapture log;
};

struct AttemptCase {
    const char* name;
    SimWindow window;
    FrameOutcome outcome;
    int attempts;
    Pauses pauses;
    std::size_t rejectedLogs;
};

class WindowControllerAttemptTest : public WindowControllerApplyTest,
                                    public ::testing::WithParamInterface<AttemptCase> {};

TEST_P(WindowControllerAttemptTest, RetriesUntilExactOrStuckWithGrowingPauses) {
    const auto& example = GetParam();
    const sim::WindowId id = frontmostWindow(example.window);
    const auto result = applyFrame(kRequested, captureTarget());

    ASSERT_TRUE(result.has_value()) << result.error().userDescription();
    EXPECT_EQ(result->requested, kRequested);
    EXPECT_EQ(result->outcome, example.outcome);
    EXPECT_EQ(result->actual, example.outcome.actual().value_or(kRequested));
    EXPECT_EQ(attemptsOn(id), example.attempts);
    EXPECT_EQ(queue->pauses(), example.pauses);
    EXPECT_EQ(rejectedMessages().size(), example.rejectedLogs);
    // Every attempt writes size, position, size; an application without the enhanced
    // interface never has it written.
    const auto writes = desktop.window(id)->writes;
    for (std::size_t i = 0; i < writes.size(); ++i) {
        EXPECT_EQ(writes[i].attribute, i % 3 == 1 ? AXAttribute::position : AXAttribute::size);
    }
    EXPECT_TRUE(desktop.application(kPid)->enhancedUserInterfaceWrites.empty());
}

const Rect kStuck{0, 0, kRequested.width(), kRequested.height()};
const Rect kThirdDrift{kRequested.minX() + 3 * 10, kRequested.minY(), kRequested.width(),
                       kRequested.height()};
const Size kLimit{500, 400};

INSTANTIATE_TEST_SUITE_P(
    Windows, WindowControllerAttemptTest,
    ::testing::Values(AttemptCase("Obedient", {}, FrameOutcome::exact(), 1, {}, 0),
                      AttemptCase("ExactOnTheSecondAttempt", {.positionWritesIgnored = 1},
                                  FrameOutcome::exact(), 2, {50ms}, 0),
                      AttemptCase("StuckAfterTheFirstAttempt",
                                  {.frame = {0, 0, 100, 100},
                                   .positionWritesIgnored = SimWindow::kIgnoresAllPositionWrites},
                                  FrameOutcome::rejected(kStuck), 2, {50ms}, 1),
                      AttemptCase("KeepsMoving", {.drift = Point{10, 0}},
                                  FrameOutcome::rejected(kThirdDrift), 3, {50ms, 150ms}, 1),
                      AttemptCase("SizeLimitedByTheApp", {.maximumSize = kLimit},
                                  FrameOutcome::constrained({kRequested.origin, kLimit}), 2, {50ms},
                                  0)),
    [](const auto& info) { return std::string{info.param.name}; });

TEST_F(WindowControllerApplyTest, TheEarlierOfTwoQuickAppliesIsSuperseded) {
    frontmostWindow();
    const WindowTarget target = captureTarget();
    std::vector<WindowController::ApplyOutcome> results;
    controller->apply({0, 0, 300, 300}, target, [&](auto r) { results.push_back(std::move(r)); });
    controller->apply(kRequested, target, [&](auto r) { results.push_back(std::move(r)); });
    settle();

    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0], std::unexpected(WindowError{Kind::superseded}));
    ASSERT_TRUE(results[1].has_value());
    EXPECT_EQ(results[1]->actual, kRequested);
    const auto intervals = log.messages(LogCategory::windows, LogLevel::debug);
    EXPECT_EQ(std::count_if(intervals.begin(), intervals.end(),
                            [](const auto& m) { return m.ends_with(": stale"); }),
              1);
}

TEST_F(WindowControllerApplyTest, EnhancedInterfaceIsOffDuringWritesAndRestoredAfterwards) {
    const sim::WindowId id = frontmostWindow({}, {.pid = kPid, .enhancedUserInterface = true});
    ASSERT_TRUE(applyFrame(kRequested, captureTarget()).has_value());

    const auto writes = desktop.window(id)->writes;
    ASSERT_FALSE(writes.empty());
    for (const auto& write : writes) {
        EXPECT_EQ(write.enhancedUserInterface, false) << write.attribute;
    }
    EXPECT_EQ(desktop.application(kPid)->enhancedUserInterface, true);
    EXPECT_EQ(desktop.application(kPid)->enhancedUserInterfaceWrites,
              (std::vector<bool>{false, true}));
}

TEST_F(WindowControllerApplyTest, EnhancedInterfaceIsRestoredWhenTheWindowClosesMidRequest) {
    const sim::WindowId id = frontmostWindow({}, {.pid = kPid, .enhancedUserInterface = true});
    const WindowTarget target = captureTarget();
    desktop.modifyWindow(id, [](SimWindow& window) { window.closesAfterWrites = 1; });

    EXPECT_EQ(applyFrame(kRequested, target), std::unexpected(WindowError{Kind::windowClosed}));
    EXPECT_EQ(desktop.application(kPid)->enhancedUserInterface, true);
}

TEST_F(WindowControllerApplyTest, ARequestReplacedDuringItsPauseStopsAndRestoresEnhancedInterface) {
    const sim::WindowId id =
        frontmostWindow({.positionWritesIgnored = 1}, {.pid = kPid, .enhancedUserInterface = true});
    const WindowTarget target = captureTarget();
    std::vector<WindowController::ApplyOutcome> results;
    queue->setPauseHook([&](SerialQueue::Duration) {
        queue->setPauseHook({});
        controller->apply(kRequested, target, [&](auto r) { results.push_back(std::move(r)); });
    });
    controller->apply({0, 0, 300, 300}, target, [&](auto r) { results.push_back(std::move(r)); });
    settle();

    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0], std::unexpected(WindowError{Kind::superseded}));
    EXPECT_TRUE(results[1].has_value());
    // The replaced request wrote once, was switched back, then the newer one ran on its own.
    EXPECT_EQ(desktop.application(kPid)->enhancedUserInterfaceWrites,
              (std::vector<bool>{false, true, false, true}));
    EXPECT_EQ(desktop.window(id)->frame, kRequested);
}

TEST_F(WindowControllerApplyTest, AWindowGoneSinceCaptureIsReportedClosed) {
    const sim::WindowId id = frontmostWindow();
    const WindowTarget target = captureTarget();
    desktop.closeWindow(id);
    EXPECT_EQ(applyFrame(kRequested, target), std::unexpected(WindowError{Kind::windowClosed}));
}

TEST_F(WindowControllerApplyTest, AnAppThatStopsAnsweringAbortsTheAttemptsAtOnce) {
    const sim::WindowId id = frontmostWindow({.positionWritesIgnored = 1});
    const WindowTarget target = captureTarget();
    desktop.modifyWindow(id, [](SimWindow& window) {
        window.writeErrors[std::string{AXAttribute::position}] = kAXErrorCannotComplete;
    });
    EXPECT_EQ(applyFrame(kRequested, target), std::unexpected(WindowError{Kind::appUnresponsive}));
    EXPECT_EQ(desktop.window(id)->writes.size(), 3u);
    EXPECT_TRUE(queue->pauses().empty());
}

TEST_F(WindowControllerApplyTest, OtherWriteErrorsAreLeftToTheReadBack) {
    const sim::WindowId id = frontmostWindow();
    const WindowTarget target = captureTarget();
    desktop.modifyWindow(id, [](SimWindow& window) {
        window.writeErrors[std::string{AXAttribute::size}] = kAXErrorFailure;
    });
    const auto result = applyFrame(kRequested, target);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->outcome.kind(), FrameOutcome::Kind::constrained);
}

TEST_F(WindowControllerApplyTest, TrustRevokedBeforeTheReadBackIsReportedAsMissingPermission) {
    frontmostWindow();
    const WindowTarget target = captureTarget();
    desktop.setTrusted(false);
    EXPECT_EQ(applyFrame(kRequested, target),
              std::unexpected(WindowError{Kind::permissionMissing}));
}

TEST_F(WindowControllerApplyTest, ANonFiniteOriginIsNeverSentToTheApp) {
    const sim::WindowId id = frontmostWindow();
    const Rect broken{std::nan(""), 0, 100, 100};
    const auto result = applyFrame(broken, captureTarget());
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->outcome.kind(), FrameOutcome::Kind::rejected);
    const auto writes = desktop.window(id)->writes;
    EXPECT_TRUE(std::none_of(writes.begin(), writes.end(), [](const sim::SimWrite& write) {
        return write.attribute == AXAttribute::position;
    }));
    EXPECT_EQ(desktop.window(id)->frame.origin, Point(100, 100));
}

TEST_F(WindowControllerApplyTest, EveryApplyIntervalIsClosed) {
    frontmostWindow();
    applyFrame(kRequested, captureTarget());
    const auto intervals = log.messages(LogCategory::windows, LogLevel::debug);
    ASSERT_EQ(intervals.size(), 2u);
    EXPECT_EQ(intervals[0], "apply 1 begin");
    EXPECT_TRUE(intervals[1].starts_with("apply 1 end (")) << intervals[1];
}

}  // namespace
}  // namespace tilewise

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

TEST_F(WindowControllerApplyTest, AnObedientWindowTakesOneAttemptWithoutPause) {
    const sim::WindowId id = frontmostWindow();
    const auto result = applyFrame(kRequested, captureTarget());

    ASSERT_TRUE(result.has_value()) << result.error().userDescription();
    EXPECT_EQ(*result, (ApplyResult{kRequested, kRequested, FrameOutcome::exact()}));
    EXPECT_EQ(attemptsOn(id), 1);
    EXPECT_TRUE(queue->pauses().empty());
    const auto writes = desktop.window(id)->writes;
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[0].attribute, AXAttribute::size);
    EXPECT_EQ(writes[1].attribute, AXAttribute::position);
    EXPECT_EQ(writes[2].attribute, AXAttribute::size);
}

TEST_F(WindowControllerApplyTest, AWindowExactOnTheSecondAttemptTakesTwo) {
    const sim::WindowId id = frontmostWindow({.positionWritesIgnored = 1});
    const auto result = applyFrame(kRequested, captureTarget());

    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->outcome, FrameOutcome::exact());
    EXPECT_EQ(attemptsOn(id), 2);
    EXPECT_EQ(queue->pauses(), Pauses{50ms});
}

TEST_F(WindowControllerApplyTest, AWindowStuckAfterTheFirstAttemptTakesTwoAndIsLoggedRejected) {
    const sim::WindowId id = frontmostWindow(
        {.frame = {0, 0, 100, 100}, .positionWritesIgnored = SimWindow::kIgnoresAllPositionWrites});
    const auto result = applyFrame(kRequested, captureTarget());

    ASSERT_TRUE(result.has_value());
    const Rect stuck{0, 0, kRequested.width(), kRequested.height()};
    EXPECT_EQ(result->outcome, FrameOutcome::rejected(stuck));
    EXPECT_EQ(result->actual, stuck);
    EXPECT_EQ(attemptsOn(id), 2);
    EXPECT_EQ(rejectedMessages().size(), 1u);
}

TEST_F(WindowControllerApplyTest, AWindowThatKeepsMovingTakesAllThreeAttempts) {
    const sim::WindowId id = frontmostWindow({.drift = Point{10, 0}});
    const auto result = applyFrame(kRequested, captureTarget());

    ASSERT_TRUE(result.has_value());
    const Rect third{kRequested.minX() + 30, kRequested.minY(), kRequested.width(),
                     kRequested.height()};
    EXPECT_EQ(result->outcome, FrameOutcome::rejected(third));
    EXPECT_EQ(attemptsOn(id), 3);
    EXPECT_EQ(queue->pauses(), (Pauses{50ms, 150ms}));
}

TEST_F(WindowControllerApplyTest, ASizeLimitedByTheAppIsConstrainedAndNotLogged) {
    const Size limit{500, 400};
    const sim::WindowId id = frontmostWindow({.maximumSize = limit});
    const auto result = applyFrame(kRequested, captureTarget());

    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->outcome, FrameOutcome::constrained(Rect{kRequested.origin, limit}));
    EXPECT_EQ(attemptsOn(id), 2);
    EXPECT_TRUE(rejectedMessages().empty());
}

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

TEST_F(WindowControllerApplyTest, AppsWithoutEnhancedInterfaceAreNeverWrittenTo) {
    frontmostWindow();
    ASSERT_TRUE(applyFrame(kRequested, captureTarget()).has_value());
    EXPECT_TRUE(desktop.application(kPid)->enhancedUserInterfaceWrites.empty());
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

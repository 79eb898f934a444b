#include "core/CyclingTracker.h"

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

namespace tilewise {
namespace {

const DisplayInfo kA{10, {-1920, 0, 1920, 1080}, {-1920, 0, 1920, 1080}, 1};
const DisplayInfo kB{20, {0, 0, 1440, 900}, {0, 25, 1440, 875}, 2};
const DisplayInfo kC{30, {1440, 0, 1920, 1080}, {1440, 0, 1920, 1080}, 1};
const std::vector<DisplayInfo> kDisplays{kB, kC, kA};
const Uuid kLayout = Uuid::parse("11111111-2222-4333-8444-555555555555").value();
const std::string kWindow = "412:99817";

CyclingTracker trackerAppliedOn(const DisplayInfo& display) {
    CyclingTracker tracker;
    tracker.record({kLayout, kWindow, display.id, display.visibleFrame});
    return tracker;
}

TEST(CyclingTrackerTest, RepeatMovesToNextDisplayInCyclingOrder) {
    EXPECT_EQ(trackerAppliedOn(kA).targetDisplay(kLayout, kWindow, kA, kDisplays, true), kB);
    EXPECT_EQ(trackerAppliedOn(kB).targetDisplay(kLayout, kWindow, kB, kDisplays, true), kC);
    EXPECT_EQ(trackerAppliedOn(kC).targetDisplay(kLayout, kWindow, kC, kDisplays, true), kA)
        << "wraps from the rightmost display to the leftmost";
}

TEST(CyclingTrackerTest, CountsFromRecordedDisplayNotFromWhereTheWindowIsNow) {
    const auto tracker = trackerAppliedOn(kA);
    EXPECT_EQ(tracker.targetDisplay(kLayout, kWindow, kC, kDisplays, true), kB);
}

TEST(CyclingTrackerTest, AnythingButARepeatKeepsTheBaseDisplay) {
    const auto tracker = trackerAppliedOn(kA);
    const Uuid otherLayout = Uuid::random();
    EXPECT_EQ(tracker.targetDisplay(kLayout, kWindow, kC, kDisplays, false), kC);
    EXPECT_EQ(tracker.targetDisplay(kLayout, kWindow, kA, {kA}, true), kA);
    EXPECT_EQ(tracker.targetDisplay(otherLayout, kWindow, kC, kDisplays, true), kC);
    EXPECT_EQ(tracker.targetDisplay(kLayout, "412:99818", kC, kDisplays, true), kC);
    EXPECT_EQ(tracker.targetDisplay(kLayout, kWindow, kC, {kB, kC}, true), kC)
        << "the recorded display was disconnected";
    EXPECT_EQ(CyclingTracker{}.targetDisplay(kLayout, kWindow, kB, kDisplays, true), kB);
    EXPECT_EQ(tracker.targetDisplay(otherLayout, kWindow, std::nullopt, kDisplays, true),
              std::nullopt);
}

TEST(CyclingTrackerTest, ResetForgetsTheRecord) {
    auto tracker = trackerAppliedOn(kA);
    ASSERT_TRUE(tracker.last().has_value());
    tracker.reset();
    EXPECT_EQ(tracker.last(), std::nullopt);
    EXPECT_EQ(tracker.targetDisplay(kLayout, kWindow, kA, kDisplays, true), kA);
}

}  // namespace
}  // namespace tilewise

#include "core/FrameComparison.h"

#include <limits>

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

namespace tilewise {
namespace {

using FrameComparison::evaluate;
using FrameComparison::kDefaultTolerance;

constexpr Rect kRequested{100, 100, 800, 600};

TEST(FrameComparisonTest, DifferencesOfExactlyTheToleranceAreExact) {
    EXPECT_EQ(evaluate(kRequested, Rect{101.5, 98.5, 801.5, 598.5}, kDefaultTolerance),
              FrameOutcome::exact());
    EXPECT_EQ(evaluate(kRequested, Rect{101.5001, 100, 800, 600}, kDefaultTolerance),
              FrameOutcome::rejected(Rect{101.5001, 100, 800, 600}));
}

TEST(FrameComparisonTest, OnlyTheOriginDecidesBetweenConstrainedAndRejected) {
    const Rect wider{100, 100, 900, 600};
    EXPECT_EQ(evaluate(kRequested, wider, kDefaultTolerance), FrameOutcome::constrained(wider));
    const Rect lower{100, 102, 800, 600};
    EXPECT_EQ(evaluate(kRequested, lower, kDefaultTolerance), FrameOutcome::rejected(lower));
    const Rect elsewhere{300, 300, 400, 400};
    EXPECT_EQ(evaluate(kRequested, elsewhere, kDefaultTolerance),
              FrameOutcome::rejected(elsewhere));
}

TEST(FrameComparisonTest, ZeroToleranceDemandsEquality) {
    EXPECT_EQ(evaluate(kRequested, kRequested, 0), FrameOutcome::exact());
    const Rect almost{100, 100, 800, 600.001};
    EXPECT_EQ(evaluate(kRequested, almost, 0), FrameOutcome::constrained(almost));
}

TEST(FrameComparisonTest, NaNIsNeverClose) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    const Rect unknownSize{100, 100, nan, 600};
    EXPECT_EQ(evaluate(kRequested, unknownSize, kDefaultTolerance).kind(),
              FrameOutcome::Kind::constrained);
    EXPECT_EQ(evaluate(kRequested, Rect{nan, 100, 800, 600}, kDefaultTolerance).kind(),
              FrameOutcome::Kind::rejected);
}

TEST(FrameComparisonTest, OutcomesCompareByCaseAndPayload) {
    EXPECT_NE(FrameOutcome::constrained(kRequested), FrameOutcome::rejected(kRequested));
    EXPECT_NE(FrameOutcome::rejected(kRequested), FrameOutcome::rejected(Rect{0, 0, 1, 1}));
    EXPECT_EQ(std::hash<FrameOutcome>{}(FrameOutcome::rejected(kRequested)),
              std::hash<FrameOutcome>{}(FrameOutcome::rejected(kRequested)));
}

}  // namespace
}  // namespace tilewise

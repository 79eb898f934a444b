#pragma once

#include <optional>

#include "core/Rect.h"

namespace tilewise {

/// How the frame a window really took compares with the frame it was asked to take.
class FrameOutcome {
  public:
    enum class Kind {
        exact,        ///< position and size as requested, within the tolerance
        constrained,  ///< at the requested position, but the application limited the size
        rejected,     ///< not at the requested position
    };

    static FrameOutcome exact() { return FrameOutcome{Kind::exact, std::nullopt}; }
    static FrameOutcome constrained(const Rect& actual) { return {Kind::constrained, actual}; }
    static FrameOutcome rejected(const Rect& actual) { return {Kind::rejected, actual}; }

    Kind kind() const { return kind_; }
    /// The frame the window took; absent for `exact`.
    const std::optional<Rect>& actual() const { return actual_; }

    bool operator==(const FrameOutcome&) const = default;

  private:
    FrameOutcome(Kind kind, std::optional<Rect> actual) : kind_(kind), actual_(actual) {}

    Kind kind_;
    std::optional<Rect> actual_;
};

namespace FrameComparison {

/// The window controller's tolerance in points.
inline constexpr double kDefaultTolerance = 1.5;

/// Classifies `actual` against `requested`: only the origin decides between constrained and
/// rejected. A NaN is never within the tolerance.
FrameOutcome evaluate(const Rect& requested, const Rect& actual, double tolerance);

}  // namespace FrameComparison

}  // namespace tilewise

TILEWISE_DECLARE_HASH(tilewise::FrameOutcome);

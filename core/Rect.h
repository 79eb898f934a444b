#pragma once

#include <optional>

#include "core/Hashing.h"

namespace tilewise {

/// A point in one of the two global spaces, in points.
struct Point {
    double x = 0;
    double y = 0;

    bool operator==(const Point&) const = default;
};

struct Size {
    double width = 0;
    double height = 0;

    bool operator==(const Size&) const = default;
};

/// A rectangle: origin and size. The min/max accessors standardise a negative size, as the
/// platform's rectangle functions do.
struct Rect {
    Point origin;
    Size size;

    constexpr Rect() = default;
    constexpr Rect(Point o, Size s) : origin(o), size(s) {}
    constexpr Rect(double x, double y, double width, double height)
        : origin{x, y}, size{width, height} {}

    double minX() const;
    double midX() const;
    double maxX() const;
    double minY() const;
    double midY() const;
    double maxY() const;
    double width() const;
    double height() const;
    Point center() const { return {midX(), midY()}; }

    /// True when the point lies inside, counting the minimum edges and not the maximum ones.
    bool contains(Point p) const;
    /// The common part of both rectangles; absent when they do not meet at all. Rectangles
    /// that only touch give an empty (zero-width or zero-height) intersection.
    std::optional<Rect> intersection(const Rect& other) const;

    bool operator==(const Rect&) const = default;
};

}  // namespace tilewise

TILEWISE_DECLARE_HASH(tilewise::Point);
TILEWISE_DECLARE_HASH(tilewise::Size);
TILEWISE_DECLARE_HASH(tilewise::Rect);

#include "core/Rect.h"

#include <algorithm>
#include <cmath>

namespace tilewise {

double Rect::minX() const {
    return std::min(origin.x, origin.x + size.width);
}
double Rect::maxX() const {
    return std::max(origin.x, origin.x + size.width);
}
double Rect::midX() const {
    return origin.x + size.width * 0.5;
}
double Rect::minY() const {
    return std::min(origin.y, origin.y + size.height);
}
double Rect::maxY() const {
    return std::max(origin.y, origin.y + size.height);
}
double Rect::midY() const {
    return origin.y + size.height * 0.5;
}
double Rect::width() const {
    return std::fabs(size.width);
}
double Rect::height() const {
    return std::fabs(size.height);
}

bool Rect::contains(Point p) const {
    return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
}

namespace {

bool hasNaN(const Rect& r) {
    return std::isnan(r.origin.x) || std::isnan(r.origin.y) || std::isnan(r.size.width) ||
           std::isnan(r.size.height);
}

}  // namespace

std::optional<Rect> Rect::intersection(const Rect& other) const {
    if (hasNaN(*this) || hasNaN(other)) {
        return std::nullopt;
    }
    const double left = std::max(minX(), other.minX());
    const double right = std::min(maxX(), other.maxX());
    const double top = std::max(minY(), other.minY());
    const double bottom = std::min(maxY(), other.maxY());
    if (left > right || top > bottom) {
        return std::nullopt;
    }
    return Rect{left, top, right - left, bottom - top};
}

}  // namespace tilewise

using tilewise::hashFields;

std::size_t std::hash<tilewise::Point>::operator()(const tilewise::Point& v) const noexcept {
    return hashFields(v.x, v.y);
}
std::size_t std::hash<tilewise::Size>::operator()(const tilewise::Size& v) const noexcept {
    return hashFields(v.width, v.height);
}
std::size_t std::hash<tilewise::Rect>::operator()(const tilewise::Rect& v) const noexcept {
    return hashFields(v.origin.x, v.origin.y, v.size.width, v.size.height);
}

#include "core/Displays.h"

#include <algorithm>
#include <cmath>

namespace tilewise {

Rect CoordinateSpace::topLeftFromAppKit(const Rect& rect) const {
    return Rect{rect.minX(), primaryHeight - rect.maxY(), rect.size.width, rect.size.height};
}

Rect CoordinateSpace::appKitFromTopLeft(const Rect& rect) const {
    return topLeftFromAppKit(rect);
}

Point CoordinateSpace::topLeftFromAppKitPoint(Point point) const {
    return {point.x, primaryHeight - point.y};
}

namespace DisplayTopology {
namespace {

double distance(Point p, const Rect& frame) {
    const double dx = p.x < frame.minX()   ? frame.minX() - p.x
                      : p.x > frame.maxX() ? p.x - frame.maxX()
                                           : 0;
    const double dy = p.y < frame.minY()   ? frame.minY() - p.y
                      : p.y > frame.maxY() ? p.y - frame.maxY()
                                           : 0;
    return std::sqrt(dx * dx + dy * dy);
}

std::optional<DisplayInfo> nearest(Point p, const std::vector<DisplayInfo>& displays) {
    if (displays.empty()) {
        return std::nullopt;
    }
    const DisplayInfo* best = &displays.front();
    double bestDistance = distance(p, best->frame);
    for (const auto& display : displays) {
        const double d = distance(p, display.frame);
        if (d < bestDistance) {
            best = &display;
            bestDistance = d;
        }
    }
    return *best;
}

double overlapArea(const Rect& a, const Rect& b) {
    const auto common = a.intersection(b);
    return common ? common->width() * common->height() : 0;
}

bool belongsTo(const Rect& menuBar, const DisplayInfo& display) {
    return std::fabs(menuBar.minY() - display.frame.minY()) < 1 &&
           menuBar.minX() >= display.frame.minX() - 1 && menuBar.maxX() <= display.frame.maxX() + 1;
}

const Rect* menuBarOf(const DisplayInfo& display, const std::vector<Rect>& menuBars) {
    const auto found = std::find_if(menuBars.begin(), menuBars.end(),
                                    [&](const Rect& bar) { return belongsTo(bar, display); });
    return found == menuBars.end() ? nullptr : &*found;
}

// The distance the platform itself leaves between a menu bar and the usable area below it.
double menuBarGap(const std::vector<DisplayInfo>& displays, const std::vector<Rect>& menuBars) {
    for (const auto& display : displays) {
        const Rect* bar = menuBarOf(display, menuBars);
        if (bar && bar->maxY() <= display.visibleFrame.minY()) {
            return display.visibleFrame.minY() - bar->maxY();
        }
    }
    return 1;
}

}  // namespace

std::optional<DisplayInfo> displayContaining(const Rect& rect,
                                             const std::vector<DisplayInfo>& displays) {
    const DisplayInfo* best = nullptr;
    double bestArea = 0;
    for (const auto& display : displays) {
        const double area = overlapArea(display.frame, rect);
        if (best == nullptr || area > bestArea) {
            best = &display;
            bestArea = area;
        }
    }
    if (best != nullptr && bestArea > 0) {
        return *best;
    }
    return nearest(rect.center(), displays);
}

std::optional<DisplayInfo> displayContaining(Point point,
                                             const std::vector<DisplayInfo>& displays) {
    for (const auto& display : displays) {
        if (display.frame.contains(point)) {
            return display;
        }
    }
    return nearest(point, displays);
}

std::vector<DisplayInfo> reservingMenuBars(std::vector<DisplayInfo> displays,
                                           const std::vector<Rect>& menuBars) {
    const double gap = menuBarGap(displays, menuBars);
    for (auto& display : displays) {
        const Rect* bar = menuBarOf(display, menuBars);
        Rect& visible = display.visibleFrame;
        if (bar && visible.minY() < bar->maxY() + gap) {
            const double top = bar->maxY() + gap;
            visible = Rect{visible.minX(), top, visible.width(), visible.maxY() - top};
        }
    }
    return displays;
}

std::vector<DisplayInfo> cyclingOrder(std::vector<DisplayInfo> displays) {
    std::stable_sort(displays.begin(), displays.end(),
                     [](const DisplayInfo& a, const DisplayInfo& b) {
                         if (a.frame.minX() != b.frame.minX()) {
                             return a.frame.minX() < b.frame.minX();
                         }
                         if (a.frame.minY() != b.frame.minY()) {
                             return a.frame.minY() < b.frame.minY();
                         }
                         return a.id < b.id;
                     });
    return displays;
}

std::optional<DisplayInfo> next(std::uint32_t displayID, const std::vector<DisplayInfo>& displays) {
    const auto order = cyclingOrder(displays);
    if (order.empty()) {
        return std::nullopt;
    }
    const auto found = std::find_if(order.begin(), order.end(),
                                    [&](const DisplayInfo& d) { return d.id == displayID; });
    if (found == order.end()) {
        return order.front();
    }
    const auto index = static_cast<std::size_t>(found - order.begin());
    return order[(index + 1) % order.size()];
}

}  // namespace DisplayTopology
}  // namespace tilewise

using tilewise::hashFields;

std::size_t std::hash<tilewise::CoordinateSpace>::operator()(
    const tilewise::CoordinateSpace& v) const noexcept {
    return hashFields(v.primaryHeight);
}
std::size_t std::hash<tilewise::DisplayInfo>::operator()(
    const tilewise::DisplayInfo& v) const noexcept {
    return hashFields(v.id, v.frame, v.visibleFrame, v.backingScale);
}

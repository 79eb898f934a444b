#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/Rect.h"

namespace tilewise {

/// Converts between the platform's bottom-left space and the top-left space of window frames.
/// Both are global and anchored at the primary display; only its height is needed.
struct CoordinateSpace {
    double primaryHeight = 0;

    Rect topLeftFromAppKit(const Rect& rect) const;
    /// The same reflection as topLeftFromAppKit; applying either twice gives the input back.
    Rect appKitFromTopLeft(const Rect& rect) const;
    Point topLeftFromAppKitPoint(Point point) const;

    bool operator==(const CoordinateSpace&) const = default;
};

/// One display, its rectangles in the top-left space.
struct DisplayInfo {
    std::uint32_t id = 0;
    Rect frame;
    Rect visibleFrame;  ///< the usable area, without menu bar and dock
    double backingScale = 1;

    bool operator==(const DisplayInfo&) const = default;
};

/// Geometric questions over lists of displays in the platform's screen order (primary first);
/// that order decides every tie.
namespace DisplayTopology {

/// The display overlapping `rect` most; without any overlap, the one nearest its centre.
/// Absent only for an empty list.
std::optional<DisplayInfo> displayContaining(const Rect& rect,
                                             const std::vector<DisplayInfo>& displays);

/// The first display whose frame holds `point` (minimum edges in, maximum edges out); else
/// the nearest one. Absent only for an empty list.
std::optional<DisplayInfo> displayContaining(Point point, const std::vector<DisplayInfo>& displays);

/// The displays with every usable area moved below the menu bar shown on that display, at the
/// same distance below it as where the platform already leaves the menu bar out.
std::vector<DisplayInfo> reservingMenuBars(std::vector<DisplayInfo> displays,
                                           const std::vector<Rect>& menuBars);

/// Left to right, then top to bottom, then by id (a stable sort).
std::vector<DisplayInfo> cyclingOrder(std::vector<DisplayInfo> displays);

/// The display after `displayID` in cycling order, wrapping around; the first one when the id
/// is unknown. Absent only for an empty list.
std::optional<DisplayInfo> next(std::uint32_t displayID, const std::vector<DisplayInfo>& displays);

}  // namespace DisplayTopology

}  // namespace tilewise

TILEWISE_DECLARE_HASH(tilewise::CoordinateSpace);
TILEWISE_DECLARE_HASH(tilewise::DisplayInfo);

#pragma once

#include <X11/Xlib.h>

#include <vector>

#include "core/Rect.h"
#include "platform/x11/Atoms.h"
#include "platform/x11/Monitors.h"
#include "platform/x11/Properties.h"

namespace tilewise::x11 {

/// Space reserved at the root window's edges by a dock (_NET_WM_STRUT_PARTIAL: left, right,
/// top, bottom, then the start and end of each band along its edge, in root coordinates).
struct Strut {
    long left = 0, right = 0, top = 0, bottom = 0;
    long leftStartY = 0, leftEndY = 0, rightStartY = 0, rightEndY = 0;
    long topStartX = 0, topEndX = 0, bottomStartX = 0, bottomEndX = 0;
};

/// `monitor` less every strut band that crosses it. The root's size places the right and
/// bottom bands.
Rect subtractStruts(const Rect& monitor, const std::vector<Strut>& struts, const Size& root);

/// The usable area of each monitor, in the monitors' order: the desktop's per-monitor work
/// areas (_GTK_WORKAREAS_D<n>) when the manager advertises them; i3's workspaces when i3 runs
/// (its bars are nowhere else to be found); otherwise each monitor less
/// the struts of the docks that cross it (read only with several monitors or no work area) and
/// less what _NET_WORKAREA of the current desktop cuts beyond all struts. The root's words go
/// out on construction, so that they share a round trip with the monitors' reading.
class UsableAreasRead {
  public:
    UsableAreasRead(Display* display, const Atoms& atoms);

    /// `root` is the root window's size.
    std::vector<Rect> areas(const std::vector<Monitor>& monitors, const Size& root);

  private:
    Display* display_;
    const Atoms& atoms_;
    Properties::PendingRead desktop_;
    Properties::PendingRead supported_;
    Properties::PendingRead i3Socket_;
    Properties::PendingRead workAreas_;
};

}  // namespace tilewise::x11

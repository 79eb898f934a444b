#pragma once

#include <ostream>

#include "app/DesktopSession.h"
#include "core/Grid.h"
#include "core/LayoutEngine.h"
#include "core/Settings.h"

namespace tilewise {

/// A block of cells to put the frontmost window on, and how.
struct PlacementRequest {
    CellSelection selection;
    GridSize grid;
    PanelPlacement display = PanelPlacement::displayUnderMouse;
    Margins margins;
};

/// Captures the frontmost application's focused window and places it on the request's cells,
/// on the display under the pointer (taken before the capture) or the display that holds the
/// window, as a saved layout's shortcut does without display cycling. Prints the display, the
/// requested and the actual frame and, when the window did not land exactly, the sentence that
/// says so; failures print their sentence on `err`. Returns 0 only for an exact placement.
int placeFrontmostWindow(const PlacementRequest& request, DesktopSession& session,
                         std::ostream& out, std::ostream& err);

}  // namespace tilewise

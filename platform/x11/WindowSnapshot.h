#pragma once

#include <X11/Xlib.h>

#include <optional>
#include <vector>

#include "platform/x11/Atoms.h"
#include "platform/x11/SizeHints.h"

namespace tilewise::x11 {

/// What placing a client window needs to know of it, asked for in one round trip: where the
/// server has it, and the properties that describe its frame, its state, what the manager allows
/// and the sizes it takes.
struct WindowSnapshot {
    struct ClientGeometry {
        int x = 0, y = 0;  ///< the client's inside top-left corner in root coordinates
        unsigned width = 0, height = 0, border = 0;
    };

    ClientGeometry client;
    std::optional<std::vector<long>> frameExtents;    ///< _NET_FRAME_EXTENTS, when set
    std::optional<std::vector<long>> shadowExtents;   ///< _GTK_FRAME_EXTENTS, when set
    std::vector<Atom> states;                         ///< _NET_WM_STATE
    std::optional<std::vector<Atom>> allowedActions;  ///< _NET_WM_ALLOWED_ACTIONS, when set
    SizeHints sizeHints;

    /// The window as it is now; absent when it is gone (or the server is). With `watch`, its
    /// changes and its end are reported from now on (StructureNotify and PropertyChange).
    static std::optional<WindowSnapshot> take(Display* display, const Atoms& atoms, Window window,
                                              bool watch = false);

    bool hasState(Atom state) const;
    bool allows(Atom action) const;
};

}  // namespace tilewise::x11

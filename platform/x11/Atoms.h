#pragma once

#include <X11/Xlib.h>

namespace tilewise::x11 {

/// The EWMH and ICCCM atoms the backend speaks, interned in one round trip per connection.
struct Atoms {
    Atom netSupported, netSupportingWmCheck, netClientList, netActiveWindow, netCurrentDesktop;
    Atom netWorkarea, netWmPid, netWmName, netWmWindowType, netWmState, netFrameExtents;
    Atom netMoveresizeWindow, netRequestFrameExtents, netWmStrut, netWmStrutPartial;
    Atom netWmAllowedActions, netWmActionMove, netWmActionResize;
    Atom netWmWindowTypeNormal, netWmWindowTypeDialog, netWmWindowTypeDesktop;
    Atom netWmWindowTypeDock, netWmWindowTypeSplash;
    Atom netWmStateHidden, netWmStateFullscreen, netWmStateMaximizedVert, netWmStateMaximizedHorz;
    Atom gtkFrameExtents, gtkWorkareas, wmState, wmClientMachine, utf8String;
    Atom netClientListStacking, tilewiseManagerAnswers, i3SocketPath;

    static Atoms intern(Display* display);
};

}  // namespace tilewise::x11

#include "platform/x11/Atoms.h"

#include <array>

namespace tilewise::x11 {

Atoms Atoms::intern(Display* display) {
    Atoms atoms{};
    const std::array<std::pair<const char*, Atom*>, 35> names{{
        {"_NET_SUPPORTED", &atoms.netSupported},
        {"_NET_SUPPORTING_WM_CHECK", &atoms.netSupportingWmCheck},
        {"_NET_CLIENT_LIST", &atoms.netClientList},
        {"_NET_ACTIVE_WINDOW", &atoms.netActiveWindow},
        {"_NET_CURRENT_DESKTOP", &atoms.netCurrentDesktop},
        {"_NET_WORKAREA", &atoms.netWorkarea},
        {"_NET_WM_PID", &atoms.netWmPid},
        {"_NET_WM_NAME", &atoms.netWmName},
        {"_NET_WM_WINDOW_TYPE", &atoms.netWmWindowType},
        {"_NET_WM_STATE", &atoms.netWmState},
        {"_NET_FRAME_EXTENTS", &atoms.netFrameExtents},
        {"_NET_MOVERESIZE_WINDOW", &atoms.netMoveresizeWindow},
        {"_NET_REQUEST_FRAME_EXTENTS", &atoms.netRequestFrameExtents},
        {"_NET_WM_STRUT", &atoms.netWmStrut},
        {"_NET_WM_STRUT_PARTIAL", &atoms.netWmStrutPartial},
        {"_NET_WM_ALLOWED_ACTIONS", &atoms.netWmAllowedActions},
        {"_NET_WM_ACTION_MOVE", &atoms.netWmActionMove},
        {"_NET_WM_ACTION_RESIZE", &atoms.netWmActionResize},
        {"_NET_WM_WINDOW_TYPE_NORMAL", &atoms.netWmWindowTypeNormal},
        {"_NET_WM_WINDOW_TYPE_DIALOG", &atoms.netWmWindowTypeDialog},
        {"_NET_WM_WINDOW_TYPE_DESKTOP", &atoms.netWmWindowTypeDesktop},
        {"_NET_WM_WINDOW_TYPE_DOCK", &atoms.netWmWindowTypeDock},
        {"_NET_WM_WINDOW_TYPE_SPLASH", &atoms.netWmWindowTypeSplash},
        {"_NET_WM_STATE_HIDDEN", &atoms.netWmStateHidden},
        {"_NET_WM_STATE_FULLSCREEN", &atoms.netWmStateFullscreen},
        {"_NET_WM_STATE_MAXIMIZED_VERT", &atoms.netWmStateMaximizedVert},
        {"_NET_WM_STATE_MAXIMIZED_HORZ", &atoms.netWmStateMaximizedHorz},
        {"_GTK_FRAME_EXTENTS", &atoms.gtkFrameExtents},
        {"_GTK_WORKAREAS", &atoms.gtkWorkareas},
        {"WM_STATE", &atoms.wmState},
        {"I3_SOCKET_PATH", &atoms.i3SocketPath},
        {"WM_CLIENT_MACHINE", &atoms.wmClientMachine},
        {"UTF8_STRING", &atoms.utf8String},
        {"_NET_CLIENT_LIST_STACKING", &atoms.netClientListStacking},
        {"_TILEWISE_MANAGER_ANSWERS_FRAME_EXTENTS", &atoms.tilewiseManagerAnswers},
    }};
    std::array<char*, names.size()> pointers{};
    std::array<Atom, names.size()> values{};
    for (size_t index = 0; index < names.size(); ++index) {
        pointers[index] = const_cast<char*>(names[index].first);
    }
    XInternAtoms(display, pointers.data(), static_cast<int>(pointers.size()), False, values.data());
    for (size_t index = 0; index < names.size(); ++index)
        *names[index].second = values[index];
    return atoms;
}

}  // namespace tilewise::x11

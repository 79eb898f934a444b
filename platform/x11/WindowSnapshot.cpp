#include "platform/x11/WindowSnapshot.h"

#include <X11/Xatom.h>
#include <X11/Xlib-xcb.h>
#include <xcb/xcb.h>

#include <algorithm>

#include "platform/x11/Properties.h"
#include "platform/x11/XcbReply.h"

namespace tilewise::x11 {
std::optional<WindowSnapshot> WindowSnapshot::take(Display* display, const Atoms& atoms,
                                                   Window window, bool watch) {
    xcb_connection_t* connection = XGetXCBConnection(display);
    const auto root = static_cast<xcb_window_t>(DefaultRootWindow(display));
    const auto id = static_cast<xcb_window_t>(window);
    const auto property = [&](Atom name, Atom type) {
        return Properties::PendingRead(display, window, name, type);
    };
    // Every request goes out before the first reply is awaited: one round trip for all. Asking
    // for the events of a window that is gone fails, which the readings below show too.
    if (watch) {
        const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_discard_reply(connection, xcb_change_window_attributes_checked(connection, id,
                                                                           XCB_CW_EVENT_MASK, &mask)
                                          .sequence);
    }
    XcbReply<xcb_get_geometry_reply> geometry(connection, xcb_get_geometry(connection, id));
    XcbReply<xcb_translate_coordinates_reply> position(
        connection, xcb_translate_coordinates(connection, id, root, 0, 0));
    auto frame = property(atoms.netFrameExtents, XA_CARDINAL);
    auto shadow = property(atoms.gtkFrameExtents, XA_CARDINAL);
    auto state = property(atoms.netWmState, XA_ATOM);
    auto actions = property(atoms.netWmAllowedActions, XA_ATOM);
    auto hints = property(XA_WM_NORMAL_HINTS, XA_WM_SIZE_HINTS);
    const auto* placed = geometry.get();
    const auto* translated = position.get();
    if (placed == nullptr || translated == nullptr) {
        Properties::noticeLostServer(display);
        return std::nullopt;
    }
    WindowSnapshot snapshot;
    snapshot.client = {translated->dst_x, translated->dst_y, placed->width, placed->height,
                       placed->border_width};
    snapshot.frameExtents = frame.numbers(XA_CARDINAL);
    snapshot.shadowExtents = shadow.numbers(XA_CARDINAL);
    if (const auto states = state.numbers(XA_ATOM))
        snapshot.states.assign(states->begin(), states->end());
    if (const auto allowed = actions.numbers(XA_ATOM))
        snapshot.allowedActions.emplace(allowed->begin(), allowed->end());
    if (const auto values = hints.numbers(XA_WM_SIZE_HINTS))
        snapshot.sizeHints = SizeHints::fromProperty(*values);
    return snapshot;
}
bool WindowSnapshot::hasState(Atom state) const {
    return std::find(states.begin(), states.end(), state) != states.end();
}

// A manager that has not said what it allows a window allows everything.
bool WindowSnapshot::allows(Atom action) const {
    return !allowedActions || std::find(allowedActions->begin(), allowedActions->end(), action) !=
                                  allowedActions->end();
}

}  // namespace tilewise::x11

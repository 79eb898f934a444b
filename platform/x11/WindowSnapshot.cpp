#include "platform/x11/WindowSnapshot.h"

#include <X11/Xatom.h>
#include <X11/Xlib-xcb.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "platform/x11/Properties.h"

namespace tilewise::x11 {
namespace {

template <typename Reply>
using ReplyPointer = std::unique_ptr<Reply, decltype(&std::free)>;

// The reply, or null after an error (a window that is gone), which is dropped here rather
// than reported to Xlib's error handler.
template <typename Reply, typename Cookie, typename Fetch>
ReplyPointer<Reply> replyOf(xcb_connection_t* connection, Cookie cookie, Fetch fetch) {
    xcb_generic_error_t* error = nullptr;
    ReplyPointer<Reply> reply(fetch(connection, cookie, &error), &std::free);
    std::free(error);
    return reply;
}

}  // namespace

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
    const auto geometryCookie = xcb_get_geometry(connection, id);
    const auto positionCookie = xcb_translate_coordinates(connection, id, root, 0, 0);
    auto frame = property(atoms.netFrameExtents, XA_CARDINAL);
    auto shadow = property(atoms.gtkFrameExtents, XA_CARDINAL);
    auto state = property(atoms.netWmState, XA_ATOM);
    auto actions = property(atoms.netWmAllowedActions, XA_ATOM);
    auto hints = property(XA_WM_NORMAL_HINTS, XA_WM_SIZE_HINTS);
    const auto geometry =
        replyOf<xcb_get_geometry_reply_t>(connection, geometryCookie, xcb_get_geometry_reply);
    const auto position = replyOf<xcb_translate_coordinates_reply_t>(
        connection, positionCookie, xcb_translate_coordinates_reply);
    if (!geometry || !position) {
        Properties::noticeLostServer(display);
        return std::nullopt;
    }
    WindowSnapshot snapshot;
    snapshot.client = {position->dst_x, position->dst_y, geometry->width, geometry->height,
                       geometry->border_width};
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

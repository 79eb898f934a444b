#include "platform/x11/WindowSnapshot.h"

#include <X11/Xatom.h>
#include <X11/Xlib-xcb.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace tilewise::x11 {
namespace {

// Enough for every state a window can have at once.
constexpr std::uint32_t kMostStates = 64;

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

ReplyPointer<xcb_get_property_reply_t> propertyReply(xcb_connection_t* connection,
                                                     xcb_get_property_cookie_t cookie) {
    return replyOf<xcb_get_property_reply_t>(connection, cookie, xcb_get_property_reply);
}

// Format-32 values, each as the signed number a client stored.
std::optional<std::vector<long>> numbersOf(const xcb_get_property_reply_t* reply, xcb_atom_t type) {
    if (reply == nullptr || reply->type != type || reply->format != 32)
        return std::nullopt;
    const auto* values = static_cast<const std::int32_t*>(xcb_get_property_value(reply));
    const int count = xcb_get_property_value_length(reply) / 4;
    return std::vector<long>(values, values + count);
}

}  // namespace

std::optional<WindowSnapshot> WindowSnapshot::take(Display* display, const Atoms& atoms,
                                                   Window window) {
    xcb_connection_t* connection = XGetXCBConnection(display);
    const auto root = static_cast<xcb_window_t>(DefaultRootWindow(display));
    const auto id = static_cast<xcb_window_t>(window);
    const auto property = [&](Atom name, xcb_atom_t type, std::uint32_t longs) {
        return xcb_get_property(connection, 0, id, static_cast<xcb_atom_t>(name), type, 0, longs);
    };
    // Every request goes out before the first reply is awaited: one round trip for all.
    const auto geometryCookie = xcb_get_geometry(connection, id);
    const auto positionCookie = xcb_translate_coordinates(connection, id, root, 0, 0);
    const auto frameCookie = property(atoms.netFrameExtents, XCB_ATOM_CARDINAL, 4);
    const auto shadowCookie = property(atoms.gtkFrameExtents, XCB_ATOM_CARDINAL, 4);
    const auto stateCookie = property(atoms.netWmState, XCB_ATOM_ATOM, kMostStates);
    const auto hintsCookie = property(XA_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 18);
    const auto geometry =
        replyOf<xcb_get_geometry_reply_t>(connection, geometryCookie, xcb_get_geometry_reply);
    const auto position = replyOf<xcb_translate_coordinates_reply_t>(
        connection, positionCookie, xcb_translate_coordinates_reply);
    const auto frame = propertyReply(connection, frameCookie);
    const auto shadow = propertyReply(connection, shadowCookie);
    const auto state = propertyReply(connection, stateCookie);
    const auto hints = propertyReply(connection, hintsCookie);
    if (xcb_connection_has_error(connection) != 0) {
        // Xlib learns of the lost server only through a request of its own, and only then
        // marks the connection broken.
        XSync(display, False);
        return std::nullopt;
    }
    if (!geometry || !position)
        return std::nullopt;
    WindowSnapshot snapshot;
    snapshot.client = {position->dst_x, position->dst_y, geometry->width, geometry->height,
                       geometry->border_width};
    snapshot.frameExtents = numbersOf(frame.get(), XCB_ATOM_CARDINAL);
    snapshot.shadowExtents = numbersOf(shadow.get(), XCB_ATOM_CARDINAL);
    if (const auto states = numbersOf(state.get(), XCB_ATOM_ATOM))
        snapshot.states.assign(states->begin(), states->end());
    if (const auto values = numbersOf(hints.get(), XCB_ATOM_WM_SIZE_HINTS))
        snapshot.sizeHints = SizeHints::fromProperty(*values);
    return snapshot;
}

bool WindowSnapshot::hasState(Atom state) const {
    return std::find(states.begin(), states.end(), state) != states.end();
}

}  // namespace tilewise::x11

#include "platform/x11/ScreenChangeEvents.h"

#include <X11/Xlib-xcb.h>
#include <X11/Xlibint.h>
#include <xcb/randr.h>

// Xlibint.h defines these as macros, which would replace the standard library's.
#undef min
#undef max

#include "platform/x11/Monitors.h"

namespace tilewise::x11::ScreenChangeEvents {
namespace {

// Only the type tells the listeners anything: the monitors are read afresh after any change.
Bool passOn(Display* display, XEvent* event, xEvent* wire) {
    event->xany.type = wire->u.u.type & 0x7f;
    event->xany.serial = _XSetLastRequestRead(display, reinterpret_cast<xGenericReply*>(wire));
    event->xany.send_event = (wire->u.u.type & 0x80) != 0;
    event->xany.display = display;
    event->xany.window = DefaultRootWindow(display);
    return True;
}

}  // namespace

std::optional<int> select(Display* display) {
    xcb_connection_t* connection = XGetXCBConnection(display);
    prefetchMonitorExtensions(connection);
    const xcb_query_extension_reply_t* randr = xcb_get_extension_data(connection, &xcb_randr_id);
    if (randr == nullptr || !randr->present)
        return std::nullopt;
    const int base = randr->first_event;
    XESetWireToEvent(display, base + XCB_RANDR_SCREEN_CHANGE_NOTIFY, passOn);
    XESetWireToEvent(display, base + XCB_RANDR_NOTIFY, passOn);
    // The server tells a client the changes its version of the protocol knows of.
    xcb_discard_reply(connection, xcb_randr_query_version(connection, 1, 5).sequence);
    xcb_randr_select_input(connection, static_cast<xcb_window_t>(DefaultRootWindow(display)),
                           XCB_RANDR_NOTIFY_MASK_SCREEN_CHANGE | XCB_RANDR_NOTIFY_MASK_CRTC_CHANGE |
                               XCB_RANDR_NOTIFY_MASK_OUTPUT_CHANGE);
    return base;
}

bool isChange(const XEvent& event, int eventBase) {
    return event.type == eventBase + XCB_RANDR_SCREEN_CHANGE_NOTIFY ||
           event.type == eventBase + XCB_RANDR_NOTIFY;
}

}  // namespace tilewise::x11::ScreenChangeEvents

#include "platform/x11/Properties.h"

#include <X11/Xatom.h>
#include <X11/Xlib-xcb.h>
#include <X11/Xutil.h>

#include <cstring>

namespace tilewise::x11::Properties {
namespace {

// Enough for the longest property we read (client lists, per-desktop work areas).
constexpr long kMaximumLongs = 1 << 16;

template <typename Value>
std::optional<Value> first(const std::optional<std::vector<Value>>& values) {
    if (!values || values->empty())
        return std::nullopt;
    return values->front();
}

}  // namespace

PendingRead::PendingRead(Display* display, Window window, Atom property, Atom type)
    : display_(display),
      reply_(XGetXCBConnection(display),
             xcb_get_property(XGetXCBConnection(display), 0, static_cast<xcb_window_t>(window),
                              static_cast<xcb_atom_t>(property), static_cast<xcb_atom_t>(type), 0,
                              kMaximumLongs)) {}

// An error (a window that is gone) is dropped rather than reported to Xlib's handler; a lost
// server is noticed.
const xcb_get_property_reply_t* PendingRead::reply() {
    const auto* got = reply_.get();
    if (got == nullptr)
        noticeLostServer(display_);
    return got;
}

std::optional<std::vector<long>> PendingRead::numbers(Atom type) {
    const auto* got = reply();
    if (got == nullptr || got->type != type || got->format != 32)
        return std::nullopt;
    const auto* values = static_cast<const std::int32_t*>(
        xcb_get_property_value(const_cast<xcb_get_property_reply_t*>(got)));
    const int count = xcb_get_property_value_length(got) / 4;
    return std::vector<long>(values, values + count);
}

std::optional<std::string> PendingRead::text() {
    const auto* got = reply();
    if (got == nullptr || got->type == XCB_ATOM_NONE || got->format != 8)
        return std::nullopt;
    const auto* characters = static_cast<const char*>(
        xcb_get_property_value(const_cast<xcb_get_property_reply_t*>(got)));
    const auto length = static_cast<size_t>(xcb_get_property_value_length(got));
    return std::string(characters, strnlen(characters, length));
}

std::optional<std::string> PendingRead::windowClass() {
    const auto* got = reply();
    if (got == nullptr || got->type != XA_STRING || got->format != 8)
        return std::nullopt;
    // WM_CLASS is the instance name and the class name, each ended by a NUL.
    const auto* characters = static_cast<const char*>(
        xcb_get_property_value(const_cast<xcb_get_property_reply_t*>(got)));
    const auto count = static_cast<size_t>(xcb_get_property_value_length(got));
    const size_t instanceLength = strnlen(characters, count);
    if (instanceLength + 1 >= count)
        return std::nullopt;
    const char* className = characters + instanceLength + 1;
    return std::string(className, strnlen(className, count - instanceLength - 1));
}

bool PendingRead::windowExisted() {
    return reply() != nullptr;
}

// xcb's own requests go out first: a server lost meanwhile shows now, not in the middle of the
// next Xlib request, which would take the socket back from xcb and find it broken.
bool noticeLostServer(Display* display) {
    xcb_connection_t* connection = XGetXCBConnection(display);
    xcb_flush(connection);
    if (xcb_connection_has_error(connection) == 0)
        return false;
    // Unlike counting the events, which may answer from Xlib's queue alone, a flush always
    // looks at the connection.
    XFlush(display);
    return true;
}

std::optional<std::vector<long>> numbers(Display* display, Window window, Atom property,
                                         Atom type) {
    return PendingRead(display, window, property, type).numbers(type);
}

std::optional<std::vector<long>> cardinals(Display* display, Window window, Atom property) {
    return numbers(display, window, property, XA_CARDINAL);
}

std::optional<std::vector<Window>> windows(Display* display, Window window, Atom property) {
    const auto values = numbers(display, window, property, XA_WINDOW);
    if (!values)
        return std::nullopt;
    return std::vector<Window>(values->begin(), values->end());
}

std::optional<std::vector<Atom>> atoms(Display* display, Window window, Atom property) {
    const auto values = numbers(display, window, property, XA_ATOM);
    if (!values)
        return std::nullopt;
    return std::vector<Atom>(values->begin(), values->end());
}

std::optional<long> cardinal(Display* display, Window window, Atom property) {
    return first(cardinals(display, window, property));
}

std::optional<Window> window(Display* display, Window window, Atom property) {
    return first(windows(display, window, property));
}

std::optional<std::string> text(Display* display, Window window, Atom property) {
    return PendingRead(display, window, property, AnyPropertyType).text();
}

std::optional<std::string> windowClass(Display* display, Window window) {
    return PendingRead(display, window, XA_WM_CLASS, XA_STRING).windowClass();
}

}  // namespace tilewise::x11::Properties

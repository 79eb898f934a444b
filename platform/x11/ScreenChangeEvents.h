#pragma once

#include <X11/Xlib.h>

#include <optional>

namespace tilewise::x11 {

/// RandR's news of a change to the monitors, asked for on the root window.
namespace ScreenChangeEvents {

/// Asks for the events and lets Xlib pass them on as events of their own type; absent without
/// RandR. libXrandr would first ask the server about RandR and the Generic Event extension
/// (three round trips); xcb's answer about RandR comes with the connection's first round trip.
std::optional<int> select(Display* display);

/// True for one of the events `select` asked for, given the type it returned.
bool isChange(const XEvent& event, int eventBase);

}  // namespace ScreenChangeEvents
}  // namespace tilewise::x11

#pragma once

#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/x11/XcbReply.h"

namespace tilewise::x11 {

/// Reads window properties. Every reader answers "absent" for a missing property, a property
/// of another type or format, and a window that no longer exists (the X error is trapped).
namespace Properties {

/// A property read sent at once and answered on first use, so that reads that do not depend on
/// each other share one round trip: send them all, then use them.
class PendingRead {
  public:
    PendingRead(Display* display, Window window, Atom property, Atom type);

    /// Format-32 values of `type`, each as the signed number a client stored.
    std::optional<std::vector<long>> numbers(Atom type);
    /// Format-8 text, up to its first NUL.
    std::optional<std::string> text();
    /// The class part of WM_CLASS's instance-and-class pair.
    std::optional<std::string> windowClass();
    /// False when the window was gone (or the server was), whether or not the property is set.
    bool windowExisted();

  private:
    const xcb_get_property_reply_t* reply();

    Display* display_;
    XcbReply<xcb_get_property_reply> reply_;
};

/// True once the server is gone, and then Xlib knows too, so that the connection reads as
/// broken. No request is made: once xcb has found the server gone, any request of Xlib's prints
/// a complaint and one with fields dereferences null. Xlib requests that may follow a failed
/// xcb reply ask this first.
bool noticeLostServer(Display* display);

/// A format-32 property of any of the numeric types (CARDINAL, WINDOW, ATOM): Xlib hands
/// those out as C longs whatever the server's 32 bits.
std::optional<std::vector<long>> numbers(Display* display, Window window, Atom property, Atom type);

std::optional<std::vector<long>> cardinals(Display* display, Window window, Atom property);
std::optional<std::vector<Window>> windows(Display* display, Window window, Atom property);
std::optional<std::vector<Atom>> atoms(Display* display, Window window, Atom property);
std::optional<long> cardinal(Display* display, Window window, Atom property);
std::optional<Window> window(Display* display, Window window, Atom property);

/// A text property (UTF8_STRING or STRING), up to its first NUL.
std::optional<std::string> text(Display* display, Window window, Atom property);

/// The class part of WM_CLASS.
std::optional<std::string> windowClass(Display* display, Window window);

}  // namespace Properties
}  // namespace tilewise::x11

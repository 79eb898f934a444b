#pragma once

#include <X11/Xlib.h>

#include <optional>
#include <string>
#include <vector>

namespace tilewise::x11 {

/// Reads window properties. Every reader answers "absent" for a missing property, a property
/// of another type or format, and a window that no longer exists (the X error is trapped).
namespace Properties {

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

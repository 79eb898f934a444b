#include "platform/x11/Properties.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <cstring>

#include "platform/x11/ErrorTrap.h"

namespace tilewise::x11::Properties {
namespace {

// Enough for the longest property we read (client lists, per-desktop work areas).
constexpr long kMaximumLongs = 1 << 16;

struct RawProperty {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned char* data = nullptr;

    RawProperty() = default;
    RawProperty(const RawProperty&) = delete;
    RawProperty& operator=(const RawProperty&) = delete;
    ~RawProperty() {
        if (data != nullptr)
            XFree(data);
    }
};

bool read(Display* display, Window window, Atom property, Atom requestedType, RawProperty& raw) {
    ErrorTrap trap(display);
    unsigned long remaining = 0;
    const int status =
        XGetWindowProperty(display, window, property, 0, kMaximumLongs, False, requestedType,
                           &raw.type, &raw.format, &raw.count, &remaining, &raw.data);
    return status == Success && !trap.check() && raw.data != nullptr;
}

template <typename Value>
std::optional<Value> first(const std::optional<std::vector<Value>>& values) {
    if (!values || values->empty())
        return std::nullopt;
    return values->front();
}

}  // namespace

std::optional<std::vector<long>> numbers(Display* display, Window window, Atom property,
                                         Atom type) {
    RawProperty raw;
    if (!read(display, window, property, type, raw) || raw.type != type || raw.format != 32) {
        return std::nullopt;
    }
    const auto* values = reinterpret_cast<const long*>(raw.data);
    return std::vector<long>(values, values + raw.count);
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
    RawProperty raw;
    if (!read(display, window, property, AnyPropertyType, raw) || raw.format != 8) {
        return std::nullopt;
    }
    const auto* characters = reinterpret_cast<const char*>(raw.data);
    return std::string(characters, strnlen(characters, raw.count));
}

std::optional<std::string> windowClass(Display* display, Window window) {
    RawProperty raw;
    if (!read(display, window, XA_WM_CLASS, XA_STRING, raw) || raw.format != 8) {
        return std::nullopt;
    }
    // WM_CLASS is the instance name and the class name, each ended by a NUL.
    const auto* characters = reinterpret_cast<const char*>(raw.data);
    const size_t instanceLength = strnlen(characters, raw.count);
    if (instanceLength + 1 >= raw.count)
        return std::nullopt;
    const char* className = characters + instanceLength + 1;
    return std::string(className, strnlen(className, raw.count - instanceLength - 1));
}

}  // namespace tilewise::x11::Properties

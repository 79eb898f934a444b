#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// Forward-declared so that the header does not bring Xlib's macros (None, Bool…) along.
using Display = struct _XDisplay;

namespace tilewise::x11 {

/// The desktop's settings as its settings manager (GNOME's daemon, xsettingsd) publishes them
/// to X clients.
namespace XSettings {

/// The integer setting `name` of an XSETTINGS blob (the _XSETTINGS_SETTINGS property); absent
/// when the blob is malformed or has no integer of that name.
std::optional<std::int32_t> integerSetting(const std::vector<unsigned char>& blob,
                                           std::string_view name);
/// The integer setting `name` of the running settings manager; absent without one.
std::optional<std::int32_t> integer(Display* display, std::string_view name);

}  // namespace XSettings
}  // namespace tilewise::x11

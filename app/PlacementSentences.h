#pragma once

#include <string>
#include <string_view>

#include "app/WindowTarget.h"

namespace tilewise::PlacementSentences {

/// What the user is told when a placement does not go as requested.
inline constexpr std::string_view kNoDisplay = "The active app has no window that can be arranged.";
inline constexpr std::string_view kDoesNotFit =
    "This layout doesn't fit the display with the current margins.";

inline std::string sizeLimited(std::string_view appName) {
    return std::string{appName} + " limited the window's size.";
}
/// A window that already had the size its application allows closest to the request: nothing
/// was limited just now.
inline std::string sizeNotAllowed(std::string_view appName) {
    return std::string{appName} + " doesn't allow the requested size.";
}
inline std::string notMoved(std::string_view appName) {
    return std::string{appName} + " didn't move the window as requested.";
}
/// When a window is neither where it was asked to be nor anywhere else than before, no
/// application limited anything: the window manager, which decides where every window goes,
/// refused the request.
inline constexpr std::string_view kManagerDidNotMove =
    "The window manager didn't move the window as requested.";
/// A size that no limit of the application accounts for was the window manager's choice.
inline constexpr std::string_view kManagerDidNotResize =
    "The window manager didn't resize the window as requested.";

/// The sentence for an apply that did not land exactly; empty for an exact one.
std::string forOutcome(const ApplyResult& result, const WindowTarget& target);

}  // namespace tilewise::PlacementSentences

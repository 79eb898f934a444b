#pragma once

#include <string>
#include <string_view>

namespace tilewise::PlacementSentences {

/// What the user is told when a placement does not go as requested.
inline constexpr std::string_view kNoDisplay = "The active app has no window that can be arranged.";
inline constexpr std::string_view kDoesNotFit =
    "This layout doesn't fit the display with the current margins.";

inline std::string sizeLimited(std::string_view appName) {
    return std::string{appName} + " limited the window's size.";
}
inline std::string notMoved(std::string_view appName) {
    return std::string{appName} + " didn't move the window as requested.";
}

}  // namespace tilewise::PlacementSentences

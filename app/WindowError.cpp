#include "app/WindowError.h"

namespace tilewise {

std::string WindowError::userDescription() const {
    switch (kind_) {
        case Kind::accessibility:
            return "The app rejected the request (AXError " + std::to_string(code_) + ").";
        case Kind::permissionMissing:
            return "Tilewise needs Accessibility permission to move windows.";
        case Kind::noFrontmostApp:
            return "No active app to arrange.";
        case Kind::tilewiseItself:
            return "Tilewise doesn't arrange its own windows.";
        case Kind::noWindow:
            return "The active app has no window that can be arranged.";
        case Kind::minimized:
            return "The window is minimized.";
        case Kind::fullScreen:
            return "The window is in full screen. Exit full screen first.";
        case Kind::notResizable:
            return "This window can't be moved or resized.";
        case Kind::appUnresponsive:
            return "The app didn't respond in time.";
        case Kind::windowClosed:
            return "The window closed.";
        case Kind::superseded:
            return "Replaced by a newer request.";
    }
    return {};
}

}  // namespace tilewise

#pragma once

#include <cstdint>
#include <optional>

#include "core/Rect.h"

namespace tilewise {

/// The preferences window as the coordinator sees it; the widgets live in the user interface.
class PreferencesWindow {
  public:
    /// The window while it is shown and active: its frame in the top-left space and the native
    /// window to keep the grid preview below.
    struct Placement {
        Rect frame;
        std::uintptr_t nativeWindow = 0;
    };

    PreferencesWindow() = default;
    PreferencesWindow(const PreferencesWindow&) = delete;
    PreferencesWindow& operator=(const PreferencesWindow&) = delete;
    virtual ~PreferencesWindow() = default;

    /// Creates the window on first use, then brings it to the front on the tab last shown.
    virtual void show() = 0;
    /// Whether the Grid tab is the one shown.
    virtual bool isGridTabSelected() const = 0;
    /// Absent unless the window is visible and the active window.
    virtual std::optional<Placement> activePlacement() const = 0;
};

}  // namespace tilewise

#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "core/KeyCombo.h"

namespace tilewise {

/// What the grid panel and the on-screen grid need of the window system beyond what the
/// toolkit does by itself. Main thread only.
class PanelPlatform {
  public:
    PanelPlatform() = default;
    PanelPlatform(const PanelPlatform&) = delete;
    PanelPlatform& operator=(const PanelPlatform&) = delete;
    virtual ~PanelPlatform() = default;

    /// True when a compositing manager blends translucent windows with what lies below them;
    /// false when none runs or that cannot be told.
    virtual bool compositorRunning() = 0;
    /// Called when the compositing manager that `compositorRunning` last found has gone.
    std::function<void()> onCompositorGone;
    /// The virtual key code of the key that the toolkit reports with this native scan code;
    /// absent for a key without one.
    virtual std::optional<std::uint16_t> virtualKeyCode(std::uint32_t nativeScanCode) = 0;
    /// The modifier of the desktop's standard commands, such as the preferences' comma.
    virtual Modifiers standardCommandModifier() = 0;
    /// Stacks our own unmanaged `window` directly below the top-level window that holds
    /// `sibling` (which the window manager may have framed); nothing when either is gone.
    virtual void stackBelow(std::uint64_t window, std::uint64_t sibling) = 0;
    /// Whether a window that is shown and is none of `own` lies above our unmanaged `window`.
    virtual bool coveredByOthers(std::uint64_t window, std::span<const std::uint64_t> own) = 0;
};

}  // namespace tilewise

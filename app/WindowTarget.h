#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/FrameComparison.h"
#include "core/Hashing.h"
#include "platform/Accessibility.h"
#include "platform/Image.h"
#include "platform/Workspace.h"

namespace tilewise {

/// One captured window. It stays a valid value after the window closed; arranging it then
/// fails with `windowClosed`.
struct WindowTarget {
    ProcessId pid = 0;
    AXElement element;
    std::string appName;                   ///< the application's name, or "app"
    std::shared_ptr<const Image> appIcon;  ///< null when the application has none
    Rect frame;                            ///< when captured, in the top-left space
    /// The element's hash, taken at capture (it needs the Accessibility interface).
    std::uint64_t elementHash = 0;

    /// Identifies the window across commands: "<pid>:<element hash>".
    std::string key() const { return std::to_string(pid) + ":" + std::to_string(elementHash); }

    bool operator==(const WindowTarget&) const = default;
};

/// How a finished apply went: what was asked, what the window took, and the verdict.
struct ApplyResult {
    Rect requested;
    Rect actual;
    FrameOutcome outcome = FrameOutcome::exact();
    /// For a size other than the requested one: whether the window's application accounts for
    /// it (false when the window manager held the size).
    bool applicationLimitsSize = true;

    bool operator==(const ApplyResult&) const = default;
};

}  // namespace tilewise

TILEWISE_DECLARE_HASH(tilewise::WindowTarget);
TILEWISE_DECLARE_HASH(tilewise::ApplyResult);

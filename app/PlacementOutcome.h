#pragma once

#include <optional>
#include <string>

#include "app/CommandReply.h"
#include "app/WindowError.h"
#include "app/WindowTarget.h"
#include "core/Displays.h"

namespace tilewise {

/// How a placement of the frontmost window ended, with everything its reporters need: the
/// coordinator's problem line, the command line's text and exit status.
struct PlacementOutcome {
    enum class Kind {
        placed,       ///< the window controller reported; see `applied->outcome`
        windowError,  ///< capturing or arranging failed with `error`
        noDisplay,    ///< no display could be chosen for the window
        doesNotFit,   ///< the cells do not fit the display with the current margins
    };

    Kind kind = Kind::placed;
    std::optional<WindowError> error;
    std::optional<WindowTarget> target;
    std::optional<DisplayInfo> display;
    std::optional<ApplyResult> applied;

    /// True only when the window took exactly the requested frame.
    bool isExact() const;
    /// The sentence the user is told; empty for an exact placement.
    std::string sentence() const;
    /// The display, the requested and the actual frame, then the sentence when there is one;
    /// failures are a sentence on standard error. Exit status 0 only when exact.
    CommandReply reply() const;
};

}  // namespace tilewise

#pragma once

#include <string>

#include "app/PlacementOutcome.h"
#include "app/WindowError.h"
#include "app/WindowTarget.h"

namespace tilewise {

/// What the user is told when a placement request ends, as one value: the coordinator only
/// carries it out.
struct PlacementFeedback {
    enum class Kind {
        nothing,       ///< a newer request replaced this one; nothing changes
        onboarding,    ///< trust is missing: refresh it and show the onboarding window
        problem,       ///< `message` becomes the last problem, with beep and log line
        quietProblem,  ///< `message` becomes the last problem, without beep or log line
        clearProblem,  ///< the window landed exactly: the last problem goes away
    };

    Kind kind = Kind::nothing;
    std::string message;

    /// The feedback for a failed capture or apply.
    static PlacementFeedback forError(const WindowError& error);
    /// The feedback for a finished apply of `target`.
    static PlacementFeedback forResult(const ApplyResult& result, const WindowTarget& target);
    /// The feedback for any end of a placement.
    static PlacementFeedback forOutcome(const PlacementOutcome& outcome);
    static PlacementFeedback problem(std::string message) {
        return {Kind::problem, std::move(message)};
    }

    bool operator==(const PlacementFeedback&) const = default;
};

}  // namespace tilewise

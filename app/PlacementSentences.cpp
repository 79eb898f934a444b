#include "app/PlacementSentences.h"

namespace tilewise {

std::string PlacementSentences::forOutcome(const ApplyResult& result, const WindowTarget& target) {
    const bool unchanged =
        FrameComparison::evaluate(target.frame, result.actual,
                                  FrameComparison::kDefaultTolerance) == FrameOutcome::exact();
    switch (result.outcome.kind()) {
        case FrameOutcome::Kind::exact:
            return {};
        case FrameOutcome::Kind::constrained:
            // The window is where it was asked to be: its size is the application's choice,
            // even when it was already there (a terminal that keeps to whole cells).
            return sizeLimited(target.appName);
        case FrameOutcome::Kind::rejected:
            return unchanged ? std::string{kManagerDidNotMove} : notMoved(target.appName);
    }
    return {};
}

}  // namespace tilewise

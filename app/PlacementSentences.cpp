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
            if (!result.applicationLimitsSize)
                return std::string{kManagerDidNotResize};
            return unchanged ? sizeNotAllowed(target.appName) : sizeLimited(target.appName);
        case FrameOutcome::Kind::rejected:
            return unchanged ? std::string{kManagerDidNotMove} : notMoved(target.appName);
    }
    return {};
}

}  // namespace tilewise

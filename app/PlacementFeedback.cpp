#include "app/PlacementFeedback.h"

#include "app/PlacementSentences.h"

namespace tilewise {

PlacementFeedback PlacementFeedback::forError(const WindowError& error) {
    switch (error.kind()) {
        case WindowError::Kind::permissionMissing:
            return {Kind::onboarding, {}};
        case WindowError::Kind::superseded:
            return {Kind::nothing, {}};
        default:
            return problem(error.userDescription());
    }
}

PlacementFeedback PlacementFeedback::forResult(const ApplyResult& result,
                                               const WindowTarget& target) {
    const std::string sentence = PlacementSentences::forOutcome(result, target);
    switch (result.outcome.kind()) {
        case FrameOutcome::Kind::exact:
            return {Kind::clearProblem, {}};
        case FrameOutcome::Kind::constrained:
            return {Kind::quietProblem, sentence};
        case FrameOutcome::Kind::rejected:
            break;
    }
    return problem(sentence);
}

}  // namespace tilewise

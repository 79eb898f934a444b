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
            // Only the application's own limit is expected; the manager's refusal is a failure.
            if (result.applicationLimitsSize)
                return {Kind::quietProblem, sentence};
            break;
        case FrameOutcome::Kind::rejected:
            break;
    }
    return problem(sentence);
}

PlacementFeedback PlacementFeedback::forOutcome(const PlacementOutcome& outcome) {
    if (outcome.kind == PlacementOutcome::Kind::placed && outcome.applied && outcome.target) {
        return forResult(*outcome.applied, *outcome.target);
    }
    if (outcome.kind == PlacementOutcome::Kind::windowError && outcome.error) {
        return forError(*outcome.error);
    }
    return problem(outcome.sentence());
}

}  // namespace tilewise

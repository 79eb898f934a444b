#include "app/PlacementOutcome.h"

#include "app/PlacementSentences.h"
#include "app/TextFormat.h"

namespace tilewise {

bool PlacementOutcome::isExact() const {
    return kind == Kind::placed && applied && applied->outcome.kind() == FrameOutcome::Kind::exact;
}

std::string PlacementOutcome::sentence() const {
    switch (kind) {
        case Kind::windowError:
            return error ? error->userDescription() : std::string{};
        case Kind::noDisplay:
            return std::string{PlacementSentences::kNoDisplay};
        case Kind::doesNotFit:
            return std::string{PlacementSentences::kDoesNotFit};
        case Kind::placed:
            break;
    }
    if (!applied || !target)
        return {};
    return PlacementSentences::forOutcome(*applied, *target);
}

CommandReply PlacementOutcome::reply() const {
    if (kind != Kind::placed || !applied || !display) {
        return CommandReply::failed(sentence());
    }
    CommandReply reply;
    reply.output = "display   " + std::to_string(display->id) + "\nrequested " +
                   formatRect(applied->requested) + "\nactual    " + formatRect(applied->actual) +
                   "\n";
    if (!isExact()) {
        reply.output += sentence() + "\n";
        reply.exitStatus = ExitStatus::failure;
    }
    return reply;
}

}  // namespace tilewise

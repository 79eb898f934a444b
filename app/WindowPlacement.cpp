#include "app/WindowPlacement.h"

#include <utility>

#include "core/LayoutEngine.h"

namespace tilewise {
namespace {

PlacementOutcome failed(PlacementOutcome::Kind kind, std::optional<WindowError> error = {}) {
    PlacementOutcome outcome;
    outcome.kind = kind;
    outcome.error = error;
    return outcome;
}

}  // namespace

WindowPlacement::WindowPlacement(WindowController& windows, DisplayProvider& displays,
                                 CyclingTracker& cycling, SettingsSource settings)
    : windows_(windows), displays_(displays), cycling_(cycling), settings_(std::move(settings)) {}

void WindowPlacement::placeFrontmost(const PlacementRequest& request, Completion completion) {
    const auto underMouse = displays_.displayUnderMouse();
    windows_.captureFocusedTarget(
        [this, alive = std::weak_ptr(alive_), request, underMouse,
         completion = std::move(completion)](WindowController::CaptureResult target) mutable {
            if (alive.expired()) {
                return;
            }
            if (!target) {
                completion(failed(PlacementOutcome::Kind::windowError, target.error()));
                return;
            }
            placeCaptured(request, underMouse, *target, std::move(completion));
        });
}

void WindowPlacement::placeCaptured(const PlacementRequest& request,
                                    const std::optional<DisplayInfo>& underMouse,
                                    const WindowTarget& target, Completion completion) {
    const auto settings = settings_();
    const auto displays = displays_.displays();
    const auto placement = request.display.value_or(settings.panelPlacement);
    const auto base = placement == PanelPlacement::displayUnderMouse
                          ? underMouse
                          : DisplayTopology::displayContaining(target.frame, displays);
    const auto display = request.layoutID
                             ? cycling_.targetDisplay(*request.layoutID, target.key(), base,
                                                      displays, settings.monitorCycling)
                             : base;
    if (!display) {
        completion(failed(PlacementOutcome::Kind::noDisplay));
        return;
    }
    place(request, target, *display, std::move(completion));
}

void WindowPlacement::place(const PlacementRequest& request, const WindowTarget& target,
                            const DisplayInfo& display, Completion completion) {
    const auto frame = LayoutEngine::frame(request.selection, request.grid, display.visibleFrame,
                                           settings_().margins, display.backingScale);
    if (!frame) {
        completion(failed(PlacementOutcome::Kind::doesNotFit));
        return;
    }
    windows_.apply(*frame, target,
                   [this, request, target, display,
                    completion = std::move(completion)](WindowController::ApplyOutcome applied) {
                       PlacementOutcome outcome;
                       outcome.target = target;
                       outcome.display = display;
                       if (!applied) {
                           outcome.kind = PlacementOutcome::Kind::windowError;
                           outcome.error = applied.error();
                       } else {
                           record(request, target, display, *applied);
                           outcome.applied = *applied;
                       }
                       completion(std::move(outcome));
                   });
}

void WindowPlacement::record(const PlacementRequest& request, const WindowTarget& target,
                             const DisplayInfo& display, const ApplyResult& result) {
    if (request.layoutID) {
        cycling_.record({*request.layoutID, target.key(), display.id, result.actual});
    } else {
        cycling_.reset();
    }
}

}  // namespace tilewise

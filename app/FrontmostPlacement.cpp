#include "app/FrontmostPlacement.h"

#include <optional>

#include "app/DisplayProvider.h"
#include "app/PlacementSentences.h"
#include "app/TextFormat.h"
#include "app/WindowController.h"

namespace tilewise {
namespace {

constexpr int kNotExact = 1;

// Starts an asynchronous request and runs the main loop until its completion has run.
template <typename Result, typename Start>
Result await(DesktopSession& session, Start start) {
    std::optional<Result> result;
    start([&result](Result value) { result = std::move(value); });
    session.runUntil([&result] { return result.has_value(); });
    return std::move(*result);
}

std::optional<DisplayInfo> chooseDisplay(PanelPlacement placement,
                                         const std::optional<DisplayInfo>& underMouse,
                                         const WindowTarget& target, DisplayProvider& displays) {
    if (placement == PanelPlacement::displayUnderMouse) {
        return underMouse;
    }
    return DisplayTopology::displayContaining(target.frame, displays.displays());
}

int report(const ApplyResult& result, const WindowTarget& target, const DisplayInfo& display,
           std::ostream& out) {
    out << "display   " << display.id << "\nrequested " << formatRect(result.requested)
        << "\nactual    " << formatRect(result.actual) << "\n";
    const std::string sentence = PlacementSentences::forOutcome(result, target);
    if (sentence.empty())
        return 0;
    out << sentence << "\n";
    return kNotExact;
}

}  // namespace

int placeFrontmostWindow(const PlacementRequest& request, DesktopSession& session,
                         std::ostream& out, std::ostream& err) {
    Platform& platform = session.platform();
    DisplayProvider displays{platform.screens()};
    const auto underMouse = displays.displayUnderMouse();
    WindowController windows{platform.accessibility(), platform.workspace(), session.mainQueue(),
                             session.makeSerialQueue()};

    const auto target = await<WindowController::CaptureResult>(
        session, [&](auto completion) { windows.captureFocusedTarget(std::move(completion)); });
    if (!target) {
        err << target.error().userDescription() << "\n";
        return kNotExact;
    }
    const auto display = chooseDisplay(request.display, underMouse, *target, displays);
    if (!display) {
        err << PlacementSentences::kNoDisplay << "\n";
        return kNotExact;
    }
    const auto frame = LayoutEngine::frame(request.selection, request.grid, display->visibleFrame,
                                           request.margins, display->backingScale);
    if (!frame) {
        err << PlacementSentences::kDoesNotFit << "\n";
        return kNotExact;
    }
    const auto applied = await<WindowController::ApplyOutcome>(
        session, [&](auto completion) { windows.apply(*frame, *target, std::move(completion)); });
    if (!applied) {
        err << applied.error().userDescription() << "\n";
        return kNotExact;
    }
    return report(*applied, *target, *display, out);
}

}  // namespace tilewise

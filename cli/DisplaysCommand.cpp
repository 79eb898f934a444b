#include "cli/DisplaysCommand.h"

#include "app/DisplayProvider.h"
#include "app/ExitStatus.h"
#include "app/TextFormat.h"

namespace tilewise {
namespace {

// What the id stands for on systems that name their outputs: " (DP-1)".
std::string outputName(DisplayProvider& provider, const DisplayInfo& display) {
    const auto screen = provider.screen(display);
    if (!screen) {
        return {};
    }
    const auto found = screen->deviceDescription.find(std::string{kScreenName});
    const auto* name = found != screen->deviceDescription.end()
                           ? std::get_if<std::string>(&found->second)
                           : nullptr;
    return name != nullptr && !name->empty() ? " (" + *name + ")" : std::string{};
}

}  // namespace

int runDisplays(const std::vector<std::string>& arguments, DesktopSession& session,
                std::ostream& out, std::ostream& err) {
    if (!arguments.empty()) {
        err << "Usage: tilewise displays\n";
        return ExitStatus::usage;
    }
    DisplayProvider provider{session.platform().screens()};
    const auto displays = provider.displays();
    if (displays.empty()) {
        err << "tilewise: no displays\n";
        return ExitStatus::failure;
    }
    for (const auto& display : displays) {
        out << "display " << display.id << outputName(provider, display) << "  frame "
            << formatRect(display.frame) << "  visible " << formatRect(display.visibleFrame)
            << "  scale " << formatNumber(display.backingScale) << "\n";
    }
    return ExitStatus::success;
}

}  // namespace tilewise

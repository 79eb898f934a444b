#include "cli/DisplaysCommand.h"

#include "app/DisplayProvider.h"
#include "app/ExitStatus.h"
#include "app/TextFormat.h"

namespace tilewise {

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
        out << "display " << display.id << "  frame " << formatRect(display.frame) << "  visible "
            << formatRect(display.visibleFrame) << "  scale " << formatNumber(display.backingScale)
            << "\n";
    }
    return ExitStatus::success;
}

}  // namespace tilewise

#include "tests/cli/CommandLineRun.h"

#include <sstream>

#include "cli/InstanceFront.h"

namespace tilewise {

CommandRun runTilewise(const std::vector<std::string>& arguments, const DesktopLauncher& launcher) {
    const DesktopLauncher noDesktop = [](std::string_view backend)
        -> std::expected<std::unique_ptr<DesktopSession>, std::string> {
        return std::unexpected("no “" + std::string{backend} + "” desktop in this test");
    };
    std::ostringstream out;
    std::ostringstream err;
    // As the desktop program runs a command line: the running instance first.
    const auto answered = answerThroughRunningInstance(arguments, out, err);
    const int status =
        answered ? *answered : runCommandLine(arguments, launcher ? launcher : noDesktop, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace tilewise

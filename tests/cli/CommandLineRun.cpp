#include "tests/cli/CommandLineRun.h"

#include <sstream>

namespace tilewise {

CommandRun runTilewise(const std::vector<std::string>& arguments, const DesktopLauncher& launcher) {
    const DesktopLauncher noDesktop = [](std::string_view backend)
        -> std::expected<std::unique_ptr<DesktopSession>, std::string> {
        return std::unexpected("no “" + std::string{backend} + "” desktop in this test");
    };
    std::ostringstream out;
    std::ostringstream err;
    const int status = runCommandLine(arguments, launcher ? launcher : noDesktop, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace tilewise

#include <iostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/QtDesktopSession.h"
#include "platform/sim/SimDemo.h"

namespace {

std::expected<std::unique_ptr<tilewise::DesktopSession>, std::string> openDesktop(
    std::string_view backend) {
    if (backend == "sim") {
        return std::make_unique<tilewise::QtDesktopSession>(
            [](tilewise::Scheduler& mainQueue) -> std::unique_ptr<tilewise::Platform> {
                return tilewise::sim::makeDemoPlatform(mainQueue);
            });
    }
    if (backend == "x11") {
        return std::unexpected("this build has no X11 backend yet; use --platform=sim");
    }
    return std::unexpected("unknown platform “" + std::string{backend} + "”; choose x11 or sim");
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return tilewise::runCommandLine(arguments, openDesktop, std::cout, std::cerr);
}

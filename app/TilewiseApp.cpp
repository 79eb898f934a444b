#include <iostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/QtDesktopSession.h"
#include "platform/sim/SimDemo.h"
#include "platform/x11/OpenX11Platform.h"

namespace {

std::expected<std::unique_ptr<tilewise::DesktopSession>, std::string> openDesktop(
    std::string_view backend) {
    if (backend == "sim") {
        return tilewise::QtDesktopSession::open(
            [](tilewise::Scheduler& mainQueue)
                -> std::expected<std::unique_ptr<tilewise::Platform>, std::string> {
                return tilewise::sim::makeDemoPlatform(mainQueue);
            });
    }
    if (backend == "x11") {
        return tilewise::QtDesktopSession::open(tilewise::x11::openX11Platform);
    }
    return std::unexpected("unknown platform “" + std::string{backend} + "”; choose x11 or sim");
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return tilewise::runCommandLine(arguments, openDesktop, std::cout, std::cerr);
}

#include <iostream>
#include <string>
#include <vector>

#include "app/QtDesktopSession.h"
#include "cli/CommandLine.h"
#include "platform/LogSink.h"
#include "platform/sim/SimDemo.h"
#include "platform/x11/OpenX11Platform.h"

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
        // The display is opened before the session, so that a missing one is a sentence and
        // not an empty platform.
        if (auto display = tilewise::x11::checkDisplay(); !display) {
            return std::unexpected(display.error());
        }
        return std::make_unique<tilewise::QtDesktopSession>(
            [](tilewise::Scheduler& mainQueue) -> std::unique_ptr<tilewise::Platform> {
                auto platform = tilewise::x11::openX11Platform(mainQueue);
                return platform ? std::move(*platform) : nullptr;
            });
    }
    return std::unexpected("unknown platform “" + std::string{backend} + "”; choose x11 or sim");
}

}  // namespace

int main(int argc, char** argv) {
    tilewise::LogSink::install();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return tilewise::runCommandLine(arguments, openDesktop, std::cout, std::cerr);
}

#include <iostream>
#include <string>
#include <vector>

#include "app/QtDesktopSession.h"
#include "app/SettingsStore.h"
#include "cli/BackendOption.h"
#include "cli/CommandLine.h"
#include "cli/InstanceFront.h"
#include "platform/LogSink.h"
#include "platform/PlatformTexts.h"
#include "platform/sim/SimDemo.h"
#include "platform/x11/OpenX11Platform.h"
#include "ui/ResidentApplication.h"

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

// The whole of Tilewise: the resident application and every subcommand. The `tilewise` command
// hands over to it what the running instance does not answer.
int main(int argc, char** argv) {
    tilewise::LogSink::install();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    // Asked again: an instance may have started since the command asked.
    if (const auto answered =
            tilewise::answerThroughRunningInstance(arguments, std::cout, std::cerr)) {
        return *answered;
    }
    if (const auto backend = tilewise::BackendOption::residentBackend(arguments)) {
        const auto onboarding =
            tilewise::OnboardingTexts::renderedBy(tilewise::PlatformTexts::forBackend(*backend));
        return tilewise::runResidentApplication(
            argc, argv, [backend] { return openDesktop(*backend); },
            tilewise::SettingsStore::defaultURL(arguments), onboarding,
            tilewise::InstanceLocation::forBackend(*backend));
    }
    return tilewise::runCommandLine(arguments, openDesktop, std::cout, std::cerr);
}

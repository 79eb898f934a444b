#include <iostream>
#include <string>
#include <vector>

#include "app/QtDesktopSession.h"
#include "app/SettingsPathOption.h"
#include "app/SettingsStore.h"
#include "cli/CommandLine.h"
#include "platform/LogSink.h"
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

// Without a subcommand (at most the backend and the settings path are given) Tilewise runs as
// the resident application.
std::optional<std::string_view> residentBackend(const std::vector<std::string>& arguments) {
    constexpr std::string_view kPlatformOption = "--platform=";
    std::string_view backend = "x11";
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i].starts_with(kPlatformOption)) {
            backend = std::string_view{arguments[i]}.substr(kPlatformOption.size());
        } else if (tilewise::SettingsPathOption::isFlag(arguments[i])) {
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return backend;
}

}  // namespace

int main(int argc, char** argv) {
    tilewise::LogSink::install();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (const auto backend = residentBackend(arguments)) {
        const auto& onboarding = *backend == "x11" ? tilewise::OnboardingTexts::windowManager()
                                                   : tilewise::OnboardingTexts::accessibility();
        return tilewise::runResidentApplication(
            argc, argv, [backend] { return openDesktop(*backend); },
            tilewise::SettingsStore::defaultURL(arguments), onboarding);
    }
    return tilewise::runCommandLine(arguments, openDesktop, std::cout, std::cerr);
}

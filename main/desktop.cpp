#include <sys/prctl.h>

#include <iostream>
#include <string>
#include <vector>

#include "app/SettingsStore.h"
#include "cli/BackendOption.h"
#include "cli/CommandLine.h"
#include "cli/InstanceFront.h"
#include "main/OpenDesktop.h"
#include "platform/PlatformTexts.h"
#include "platform/QtLogSink.h"
#include "ui/ResidentApplication.h"

// The whole of Tilewise: the resident application and every subcommand. The `tilewise` command
// hands over to it what the running instance does not answer.
int main(int argc, char** argv) {
    // Shown by ps, top and killall under the command's name, not the program's in libexec.
    ::prctl(PR_SET_NAME, "tilewise");
    tilewise::QtLogSink::install();
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
            argc, argv, [backend] { return tilewise::openDesktop(*backend); },
            tilewise::SettingsStore::defaultURL(arguments), onboarding,
            tilewise::InstanceLocation::forBackend(*backend));
    }
    return tilewise::runCommandLine(arguments, tilewise::openDesktop, std::cout, std::cerr);
}

#include <sys/prctl.h>

#include <iostream>
#include <string>
#include <vector>

#include "app/ExitStatus.h"
#include "app/SettingsStore.h"
#include "cli/BackendOption.h"
#include "cli/InstanceFront.h"
#include "main/OpenDesktop.h"
#include "platform/PlatformTexts.h"
#include "platform/QtLogSink.h"
#include "platform/QtScheduler.h"
#include "ui/ResidentApplication.h"

// The resident application, which the `tilewise` command starts in its own place when it is run
// without a subcommand.
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
    const auto backend = tilewise::BackendOption::residentBackend(arguments);
    if (!backend) {
        std::cerr << "tilewise: the subcommands are the “tilewise” command's\n";
        return tilewise::ExitStatus::usage;
    }
    const auto onboarding =
        tilewise::OnboardingTexts::renderedBy(tilewise::PlatformTexts::forBackend(*backend));
    return tilewise::runResidentApplication(
        argc, argv,
        [backend] {
            return tilewise::openDesktop<tilewise::QtScheduler, tilewise::QueueThread::worker>(
                *backend);
        },
        tilewise::SettingsStore::defaultURL(arguments), onboarding,
        tilewise::InstanceLocation::forBackend(*backend));
}

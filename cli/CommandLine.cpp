#include "cli/CommandLine.h"

#include <algorithm>
#include <sstream>

#include "app/ExitStatus.h"
#include "cli/BackendOption.h"
#include "cli/CheckSettingsCommand.h"
#include "cli/DisplaysCommand.h"
#include "cli/ImportDivvyCommand.h"
#include "cli/RequestCommands.h"
#include "cli/StandaloneRequests.h"
#include "platform/ApplicationIdentity.h"
#include "platform/PlatformTexts.h"

namespace tilewise {
namespace {

void printUsage(std::ostream& out) {
    out << "Usage: tilewise [--platform=x11|sim] SUBCOMMAND [ARGUMENTS…]\n"
        << "       tilewise --version\n\nSubcommands:\n";
    for (const auto& command : subcommands()) {
        out << "  " << command.synopsis << "\n      " << command.summary << "\n";
    }
}

int print(const CommandReply& reply, std::ostream& out, std::ostream& err) {
    out << reply.output;
    err << reply.error;
    return reply.exitStatus;
}

CommandReply serve(const Subcommand& command, const std::vector<std::string>& arguments,
                   std::string_view backend, const DesktopLauncher& launcher) {
    const auto request = command.request(arguments);
    if (!request) {
        return request.error();
    }
    const auto settings = StandaloneRequests::readSettings(arguments);
    if (!settings) {
        return settings.error();
    }
    auto session = launcher(backend);
    if (!session) {
        return CommandReply::failed("tilewise: " + session.error());
    }
    return StandaloneRequests::serve(*request, **session, *settings);
}

}  // namespace

const std::vector<Subcommand>& subcommands() {
    static const std::vector<Subcommand> all = [] {
        std::vector<Subcommand> tools{
            {"check-settings", "check-settings FILE",
             "Checks a settings file: prints OK and any warnings, or why it would not load.",
             runCheckSettings},
            {"import-divvy", "import-divvy [--dry-run] [--from FILE]",
             "Imports Divvy's saved shortcuts and grid options into the settings and prints what "
             "changed; --dry-run writes nothing.",
             runImportDivvy},
        };
        const auto& requests = requestCommands();
        tools.insert(tools.end(), requests.begin(), requests.end());
        tools.push_back({"displays", "displays",
                         "Lists the displays as Tilewise sees them: id (and output name), frame, "
                         "usable area and scale.",
                         nullptr, runDisplays});
        return tools;
    }();
    return all;
}

namespace {

int runSubcommand(std::vector<std::string>::const_iterator first,
                  std::vector<std::string>::const_iterator end, std::string_view backend,
                  const DesktopLauncher& launcher, std::ostream& out, std::ostream& err) {
    if (first == end || *first == "--help" || *first == "-h") {
        printUsage(out);
        return first == end ? ExitStatus::usage : ExitStatus::success;
    }
    if (*first == "--version") {
        out << "tilewise " << kApplicationVersion << "\n";
        return ExitStatus::success;
    }
    const auto& all = subcommands();
    const auto found = std::find_if(
        all.begin(), all.end(), [&](const Subcommand& command) { return command.name == *first; });
    if (found == all.end()) {
        err << "tilewise: unknown subcommand “" << *first << "”\n";
        printUsage(err);
        return ExitStatus::usage;
    }
    const std::vector<std::string> rest{first + 1, end};
    if (found->run != nullptr) {
        return found->run(rest, out, err);
    }
    if (found->request != nullptr) {
        return print(serve(*found, rest, backend, launcher), out, err);
    }
    auto session = launcher(backend);
    if (!session) {
        err << "tilewise: " << session.error() << "\n";
        return ExitStatus::failure;
    }
    return found->runOnDesktop(rest, **session, out, err);
}

}  // namespace

int runCommandLine(const std::vector<std::string>& arguments, const DesktopLauncher& launcher,
                   std::ostream& out, std::ostream& err) {
    const auto [backend, chosenBy] = BackendOption::leading(arguments);
    const auto first = arguments.begin() + static_cast<long>(chosenBy);
    // Everything a command prints is worded for the backend's system, whoever produced it.
    std::ostringstream printed;
    std::ostringstream complained;
    const int status =
        runSubcommand(first, arguments.end(), backend, launcher, printed, complained);
    const auto& texts = PlatformTexts::forBackend(backend);
    out << texts.render(printed.str());
    err << texts.render(complained.str());
    return status;
}

}  // namespace tilewise

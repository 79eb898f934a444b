#include "cli/CommandLine.h"

#include <algorithm>

#include "cli/CheckSettingsCommand.h"
#include "cli/DisplaysCommand.h"
#include "cli/ImportDivvyCommand.h"
#include "cli/PlaceCommand.h"

namespace tilewise {
namespace {

constexpr int kFailed = 1;
constexpr int kUsageError = 2;
constexpr std::string_view kPlatformOption = "--platform=";
constexpr std::string_view kDefaultBackend = "x11";

void printUsage(std::ostream& out) {
    out << "Usage: tilewise [--platform=x11|sim] SUBCOMMAND [ARGUMENTS…]\n\nSubcommands:\n";
    for (const auto& command : subcommands()) {
        out << "  " << command.synopsis << "\n      " << command.summary << "\n";
    }
}

}  // namespace

const std::vector<Subcommand>& subcommands() {
    static const std::vector<Subcommand> all{
        {"check-settings", "check-settings FILE",
         "Checks a settings file: prints OK and any warnings, or why it would not load.",
         runCheckSettings},
        {"import-divvy", "import-divvy [--dry-run] [--from FILE]",
         "Imports Divvy's saved shortcuts and grid options into the settings and prints what "
         "changed; --dry-run writes nothing.",
         runImportDivvy},
        {"place", "place --grid COLUMNSxROWS --cells C,R:C,R [--display under-mouse|window]",
         "Places the frontmost window on a block of cells with the settings' margins and prints "
         "the requested and the actual frame.",
         nullptr, runPlace},
        {"apply", "apply NAME|ID",
         "Places the frontmost window on a saved layout's cells, as its shortcut would (without "
         "display cycling).",
         nullptr, runApply},
        {"displays", "displays",
         "Lists the displays as Tilewise sees them: id, frame, usable area and scale.", nullptr,
         runDisplays},
    };
    return all;
}

int runCommandLine(const std::vector<std::string>& arguments, const DesktopLauncher& launcher,
                   std::ostream& out, std::ostream& err) {
    std::string_view backend = kDefaultBackend;
    auto first = arguments.begin();
    if (first != arguments.end() && first->starts_with(kPlatformOption)) {
        backend = std::string_view{*first}.substr(kPlatformOption.size());
        ++first;
    }
    if (first == arguments.end() || *first == "--help" || *first == "-h") {
        printUsage(out);
        return first == arguments.end() ? kUsageError : 0;
    }
    const auto& all = subcommands();
    const auto found = std::find_if(
        all.begin(), all.end(), [&](const Subcommand& command) { return command.name == *first; });
    if (found == all.end()) {
        err << "tilewise: unknown subcommand “" << *first << "”\n";
        printUsage(err);
        return kUsageError;
    }
    const std::vector<std::string> rest{first + 1, arguments.end()};
    if (found->run != nullptr) {
        return found->run(rest, out, err);
    }
    auto session = launcher(backend);
    if (!session) {
        err << "tilewise: " << session.error() << "\n";
        return kFailed;
    }
    return found->runOnDesktop(rest, **session, out, err);
}

}  // namespace tilewise

#include "app/CommandLine.h"

#include <algorithm>

#include "app/CheckSettingsCommand.h"
#include "app/ImportDivvyCommand.h"

namespace tilewise {
namespace {

constexpr int kUsageError = 2;

void printUsage(std::ostream& out) {
    out << "Usage: tilewise SUBCOMMAND [ARGUMENTS…]\n\nSubcommands:\n";
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
    };
    return all;
}

int runCommandLine(const std::vector<std::string>& arguments, std::ostream& out,
                   std::ostream& err) {
    if (arguments.empty() || arguments.front() == "--help" || arguments.front() == "-h") {
        printUsage(out);
        return arguments.empty() ? kUsageError : 0;
    }
    const auto& all = subcommands();
    const auto found = std::find_if(all.begin(), all.end(), [&](const Subcommand& command) {
        return command.name == arguments.front();
    });
    if (found == all.end()) {
        err << "tilewise: unknown subcommand “" << arguments.front() << "”\n";
        printUsage(err);
        return kUsageError;
    }
    return found->run({arguments.begin() + 1, arguments.end()}, out, err);
}

}  // namespace tilewise

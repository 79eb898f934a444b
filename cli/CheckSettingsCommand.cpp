#include "cli/CheckSettingsCommand.h"

#include "app/ExitStatus.h"
#include "app/SettingsFile.h"

namespace tilewise {

int runCheckSettings(const std::vector<std::string>& arguments, std::ostream& out,
                     std::ostream& err) {
    if (arguments.size() != 1) {
        err << "Usage: tilewise check-settings FILE\n";
        return ExitStatus::usage;
    }
    const auto loaded = SettingsFile::read(arguments.front());
    if (!loaded) {
        err << loaded.error().description << "\n";
        return ExitStatus::failure;
    }
    out << "OK\n";
    for (const auto& issue : loaded->settings.validate()) {
        out << issue.description() << "\n";
    }
    return ExitStatus::success;
}

}  // namespace tilewise

#include "cli/CheckSettingsCommand.h"

#include "app/ExitStatus.h"
#include "app/Files.h"
#include "core/SettingsCoder.h"

namespace tilewise {
int runCheckSettings(const std::vector<std::string>& arguments, std::ostream& out,
                     std::ostream& err) {
    if (arguments.size() != 1) {
        err << "Usage: tilewise check-settings FILE\n";
        return ExitStatus::usage;
    }
    const auto bytes = Files::readAll(arguments.front());
    if (!bytes) {
        err << "The settings file could not be read: " << bytes.error() << "\n";
        return ExitStatus::failure;
    }
    const auto settings = SettingsCoder::decode(*bytes);
    if (!settings) {
        err << settings.error().description() << "\n";
        return ExitStatus::failure;
    }
    out << "OK\n";
    for (const auto& issue : settings->validate()) {
        out << issue.description() << "\n";
    }
    return ExitStatus::success;
}

}  // namespace tilewise

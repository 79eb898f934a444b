#include "cli/CheckSettingsCommand.h"

#include "app/Files.h"
#include "core/SettingsCoder.h"

namespace tilewise {
namespace {

constexpr int kRejected = 1;
constexpr int kUsageError = 2;

}  // namespace

int runCheckSettings(const std::vector<std::string>& arguments, std::ostream& out,
                     std::ostream& err) {
    if (arguments.size() != 1) {
        err << "Usage: tilewise check-settings FILE\n";
        return kUsageError;
    }
    const auto bytes = Files::readAll(arguments.front());
    if (!bytes) {
        err << "The settings file could not be read: " << bytes.error() << "\n";
        return kRejected;
    }
    const auto settings = SettingsCoder::decode(*bytes);
    if (!settings) {
        err << settings.error().description() << "\n";
        return kRejected;
    }
    out << "OK\n";
    for (const auto& issue : settings->validate()) {
        out << issue.description() << "\n";
    }
    return 0;
}

}  // namespace tilewise

#include "app/CheckSettingsCommand.h"

#include "app/SettingsFile.h"

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
    const auto loaded = SettingsFile::read(arguments.front());
    if (!loaded) {
        err << loaded.error().description << "\n";
        return kRejected;
    }
    const auto& settings = loaded->settings;
    out << "OK\n";
    for (const auto& issue : settings.validate()) {
        out << issue.description() << "\n";
    }
    return 0;
}

}  // namespace tilewise

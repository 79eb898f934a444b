#include "cli/ImportDivvyCommand.h"

#include <filesystem>
#include <memory>
#include <optional>

#include "app/DivvyMigration.h"
#include "app/ExitStatus.h"
#include "app/SettingsPathOption.h"
#include "app/SettingsFile.h"
#include "app/SettingsStore.h"
#include "core/PropertyList.h"
#include "platform/Files.h"
#include "platform/ManualScheduler.h"
#include "platform/PreferenceFiles.h"

namespace tilewise {
namespace {

constexpr std::string_view kUsage =
    "Usage: tilewise import-divvy [--dry-run] [--from FILE] [-TilewiseSettingsPath PATH]\n";

struct Options {
    bool dryRun = false;
    std::optional<std::filesystem::path> from;
};

std::optional<Options> parseOptions(const std::vector<std::string>& arguments) {
    Options options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const bool hasValue = i + 1 < arguments.size();
        if (arguments[i] == "--dry-run") {
            options.dryRun = true;
        } else if (arguments[i] == "--from" && hasValue) {
            options.from = arguments[++i];
        } else if (SettingsPathOption::isFlag(arguments[i]) && hasValue) {
            ++i;  // read by SettingsStore::defaultURL
        } else {
            return std::nullopt;
        }
    }
    return options;
}

// A bare "shortcuts" archive (as Divvy's export links carry it) stands for a domain that holds
// that archive and nothing else.
class ArchiveOnlyDefaults final : public UserDefaults {
  public:
    explicit ArchiveOnlyDefaults(PropertyData archive) : archive_(std::move(archive)) {}

    std::optional<PropertyValue> value(std::string_view) override { return std::nullopt; }
    std::optional<PropertyValue> value(std::string_view, std::string_view key) override {
        if (key != DivvyImport::shortcutsKey)
            return std::nullopt;
        return archive_;
    }

  private:
    PropertyData archive_;
};

// Divvy's domain: its preferences file in the standard places, or the file given with --from,
// either a preferences file or a bare archive.
std::expected<std::unique_ptr<UserDefaults>, std::string> divvyDefaults(const Options& options) {
    auto files = std::make_unique<PreferenceFiles>(PreferenceFiles::standardDirectories());
    if (!options.from)
        return files;
    const auto domain = PreferenceFiles::readDomain(*options.from);
    if (!domain)
        return std::unexpected(domain.error());
    if (domain->contains("$archiver")) {
        const auto bytes = Files::readAll(*options.from, PropertyListLimits{}.maxBytes);
        if (!bytes)
            return std::unexpected(bytes.error().message);
        return std::make_unique<ArchiveOnlyDefaults>(PropertyData(bytes->begin(), bytes->end()));
    }
    files->setDomainFile(DivvyMigration::bundleID, *options.from);
    files->setDomainFile(DivvyMigration::appStoreBundleID, *options.from);
    return files;
}

std::string unreadableArchive(DivvyImport::ImportError error) {
    return "Divvy's shortcuts could not be read (" + std::string{DivvyImport::caseName(error)} +
           "). You can recreate them in Preferences › Layouts.\n";
}

// Without a display there is no keyboard layout to ask, so keys get their US-ANSI labels.
std::string ansiKeyName(std::uint16_t keyCode) {
    return KeyCombo{keyCode, Modifiers{}}.fallbackDescription();
}

void printLayouts(const std::vector<SavedLayout>& layouts, std::ostream& out) {
    out << "\nLayouts after the import (nothing was written):\n";
    for (const auto& layout : layouts) {
        const auto& cells = layout.selection;
        out << "  “" << layout.name << "”: grid " << layout.grid.columns << "×" << layout.grid.rows
            << ", columns " << cells.startColumn() << "–" << cells.endColumn() << ", rows "
            << cells.startRow() << "–" << cells.endRow() << ", "
            << (layout.shortcut ? layout.shortcut->fallbackDescription() : "no key") << " ("
            << (layout.isGlobal ? "global" : "local") << ", "
            << (layout.enabled ? "enabled" : "disabled") << ")\n";
    }
}

// The settings the import starts from, as the store would load them, but without keeping a
// rejected file aside: a dry run writes nothing.
std::optional<TilewiseSettings> currentSettings(const std::filesystem::path& path,
                                                std::ostream& err) {
    auto settings = SettingsFile::readOrDefaults(path);
    if (settings)
        return std::move(*settings);
    const bool rejected = settings.error().kind == SettingsFile::Failure::Kind::undecodable;
    err << "tilewise: ";
    if (rejected)
        err << "the settings file “" << path.string()
            << "” cannot be used; the import starts from the defaults. ";
    err << settings.error().description << "\n";
    return rejected ? std::optional{TilewiseSettings::defaults()} : std::nullopt;
}

void printNotes(const std::vector<std::string>& notes, std::ostream& out) {
    for (std::size_t i = 0; i < notes.size(); ++i) {
        out << (i > 0 ? "\n" : "") << notes[i] << "\n";
    }
}

int dryRun(const std::vector<std::string>& arguments, UserDefaults& defaults, std::ostream& out,
           std::ostream& err) {
    const auto settings = currentSettings(SettingsStore::defaultURL(arguments), err);
    if (!settings)
        return ExitStatus::failure;
    const auto result = DivvyMigration::migrate(*settings, defaults, ansiKeyName);
    if (!result) {
        err << unreadableArchive(result.error());
        return ExitStatus::failure;
    }
    printNotes(result->notes, out);
    printLayouts(result->layouts, out);
    return ExitStatus::success;
}

}  // namespace

int runImportDivvy(const std::vector<std::string>& arguments, std::ostream& out,
                   std::ostream& err) {
    const auto options = parseOptions(arguments);
    if (!options) {
        err << kUsage;
        return ExitStatus::usage;
    }
    const auto defaults = divvyDefaults(*options);
    if (!defaults) {
        err << "tilewise: " << defaults.error() << "\n";
        return ExitStatus::failure;
    }
    if (options->dryRun)
        return dryRun(arguments, **defaults, out, err);
    ManualScheduler scheduler;
    SettingsStore store{SettingsStore::defaultURL(arguments), scheduler};
    if (store.loadProblem())
        err << "tilewise: " << *store.loadProblem() << "\n";
    const auto result = DivvyMigration::migrate(store.settings(), **defaults, ansiKeyName);
    if (!result) {
        err << unreadableArchive(result.error());
        return ExitStatus::failure;
    }
    store.setSettings(result->settings);
    if (const auto saved = store.saveNow(); !saved) {
        err << "tilewise: the settings file “" << store.fileURL().string()
            << "” could not be written: " << saved.error() << ".\n";
        return ExitStatus::failure;
    }
    printNotes(result->notes, out);
    return ExitStatus::success;
}

}  // namespace tilewise

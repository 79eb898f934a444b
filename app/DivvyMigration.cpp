#include "app/DivvyMigration.h"

#include <algorithm>

#include "core/Utf8.h"
#include "platform/Log.h"

namespace tilewise::DivvyMigration {
namespace {

constexpr std::string_view kNoShortcutsNote = "Divvy has no saved shortcuts.";
constexpr std::string_view kPanelShortcutNote =
    "Divvy's own panel shortcut is not imported; set one in Tilewise if you use it.";
// Divvy's window margin is the sum of the two neighbours' margins, our spacing the whole gap.
constexpr double kWindowMarginToSpacing = 0.5;

// Typed reads from one domain: a value of another type counts as absent.
class DivvyDefaults {
  public:
    DivvyDefaults(UserDefaults& defaults, std::string_view domain)
        : defaults_(defaults), domain_(domain) {}

    std::optional<PropertyData> data(std::string_view key) const {
        return typed<PropertyData>(key);
    }
    std::optional<std::int64_t> integer(std::string_view key) const {
        return typed<std::int64_t>(key);
    }
    std::optional<bool> boolean(std::string_view key) const { return typed<bool>(key); }
    std::optional<double> number(std::string_view key) const {
        const auto value = defaults_.value(domain_, key);
        return value ? propertyNumber(*value) : std::nullopt;
    }

    template <typename T>
    void apply(std::string_view key, T& target) const {
        if (const auto value = typed<T>(key))
            target = *value;
    }
    void applyNumber(std::string_view key, double& target, double factor = 1) const {
        if (const auto value = number(key))
            target = *value * factor;
    }

  private:
    template <typename T>
    std::optional<T> typed(std::string_view key) const {
        const auto value = defaults_.value(domain_, key);
        if (!value || !std::holds_alternative<T>(*value))
            return std::nullopt;
        return std::get<T>(*value);
    }

    UserDefaults& defaults_;
    std::string domain_;
};

// The direct edition's domain, unless only the App Store edition's holds shortcuts.
DivvyDefaults divvyDomain(UserDefaults& defaults) {
    DivvyDefaults direct{defaults, bundleID};
    DivvyDefaults appStore{defaults, appStoreBundleID};
    const bool onlyAppStore =
        !direct.data(DivvyImport::shortcutsKey) && appStore.data(DivvyImport::shortcutsKey);
    return onlyAppStore ? appStore : direct;
}

bool matches(const SavedLayout& existing, const SavedLayout& imported) {
    return existing.name == imported.name ||
           (existing.shortcut && imported.shortcut && *existing.shortcut == *imported.shortcut);
}

std::string shortcutsNote(const std::vector<SavedLayout>& imported, const KeyNamer& keyName) {
    std::string note = "Imported " + std::to_string(imported.size()) + " shortcut" +
                       (imported.size() == 1 ? "" : "s") + ": ";
    for (std::size_t i = 0; i < imported.size(); ++i) {
        const auto& shortcut = imported[i].shortcut;
        const std::string key =
            shortcut ? shortcut->modifiers.symbols() + keyName(shortcut->keyCode) : "no key";
        note += (i > 0 ? ", " : "") + imported[i].name + " (" + key + ")";
    }
    return note;
}

// Divvy stores names as it got them; one that is not UTF-8 cannot be written to the settings
// file or shown, so its stray bytes become U+FFFD. The number of names repaired.
std::size_t repairNames(std::vector<SavedLayout>& layouts) {
    std::size_t count = 0;
    for (auto& layout : layouts) {
        if (auto name = Utf8::repaired(layout.name)) {
            layout.name = std::move(*name);
            ++count;
        }
    }
    return count;
}

std::string repairedNamesNote(std::size_t count) {
    const auto subject = count == 1 ? std::string("The name of 1 shortcut")
                                    : "The names of " + std::to_string(count) + " shortcuts";
    return subject + " held bytes that are not UTF-8; each was replaced with “" +
           std::string(Utf8::kReplacementCharacter) + "”.";
}

void mergeGrid(const DivvyDefaults& divvy, TilewiseSettings& result) {
    const GridSize grid{divvy.integer("lastColumnCount").value_or(0),
                        divvy.integer("lastRowCount").value_or(0)};
    if (grid.isValid())
        result.grid = grid;
}

void mergeMargins(const DivvyDefaults& divvy, TilewiseSettings& result) {
    Margins margins = result.margins;
    divvy.apply("enableMargins", margins.enabled);
    divvy.applyNumber("defaultScreenMarginTop", margins.screen.top);
    divvy.applyNumber("defaultScreenMarginLeft", margins.screen.left);
    divvy.applyNumber("defaultScreenMarginBottom", margins.screen.bottom);
    divvy.applyNumber("defaultScreenMarginRight", margins.screen.right);
    divvy.applyNumber("defaultWindowMarginWidth", margins.horizontalSpacing,
                      kWindowMarginToSpacing);
    divvy.applyNumber("defaultWindowMarginHeight", margins.verticalSpacing, kWindowMarginToSpacing);
    if (margins.isValid())
        result.margins = margins;
}

void mergeBehaviour(const DivvyDefaults& divvy, TilewiseSettings& result) {
    divvy.apply("enableAnimations", result.animationsEnabled);
    divvy.apply("showResizePreview", result.showResizePreview);
    divvy.apply("mustDismissPanel", result.keepPanelOpen);
    divvy.apply("useMonitorCycling", result.monitorCycling);
    divvy.apply("showMenuIcon", result.showMenuBarIcon);
    if (const auto followsMouse = divvy.boolean("windowFollowsMouse")) {
        result.panelPlacement = *followsMouse ? PanelPlacement::displayUnderMouse
                                              : PanelPlacement::displayWithTargetWindow;
    }
}

std::string optionsNote(const TilewiseSettings& result) {
    const auto onOff = [](bool on) { return on ? "on" : "off"; };
    return "Grid " + std::to_string(result.grid.columns) + "×" + std::to_string(result.grid.rows) +
           ", margins " + onOff(result.margins.enabled) + ", animations " +
           onOff(result.animationsEnabled) + ", preview " + onOff(result.showResizePreview) + ".";
}

}  // namespace

bool hasSavedShortcuts(UserDefaults& defaults) {
    return divvyDomain(defaults).data(DivvyImport::shortcutsKey).has_value();
}

std::expected<Result, DivvyImport::ImportError> migrate(const TilewiseSettings& settings,
                                                        UserDefaults& defaults,
                                                        const KeyNamer& keyName) {
    const DivvyDefaults divvy = divvyDomain(defaults);
    TilewiseSettings result = settings;
    std::string firstNote{kNoShortcutsNote};
    std::size_t repairedNames = 0;
    if (const auto archive = divvy.data(DivvyImport::shortcutsKey)) {
        auto imported = DivvyImport::layouts(*archive);
        if (!imported)
            return std::unexpected(imported.error());
        repairedNames = repairNames(*imported);
        std::erase_if(result.layouts, [&](const SavedLayout& existing) {
            return std::any_of(imported->begin(), imported->end(), [&](const SavedLayout& layout) {
                return matches(existing, layout);
            });
        });
        result.layouts.insert(result.layouts.end(), imported->begin(), imported->end());
        firstNote = shortcutsNote(*imported, keyName);
    }
    mergeGrid(divvy, result);
    mergeMargins(divvy, result);
    mergeBehaviour(divvy, result);
    std::vector<std::string> notes{firstNote, optionsNote(result), std::string{kPanelShortcutNote}};
    if (repairedNames > 0)
        notes.push_back(repairedNamesNote(repairedNames));
    return Result{result.layouts, result, std::move(notes)};
}

std::unordered_set<KeyCombo> activeGlobalShortcuts(UserDefaults& defaults) {
    const auto archive = divvyDomain(defaults).data(DivvyImport::shortcutsKey);
    if (!archive)
        return {};
    const auto layouts = DivvyImport::layouts(*archive);
    if (!layouts) {
        Log::error(LogCategory::app, "Divvy's shortcuts could not be read (" +
                                         std::string{DivvyImport::caseName(layouts.error())} +
                                         "); none of them are paused");
        return {};
    }
    std::unordered_set<KeyCombo> shortcuts;
    for (const auto& layout : *layouts) {
        if (layout.enabled && layout.isGlobal && layout.shortcut)
            shortcuts.insert(*layout.shortcut);
    }
    return shortcuts;
}

std::optional<RunningApplication> runningInstance(Workspace& workspace) {
    for (const auto& application : workspace.runningApplications()) {
        const bool isDivvy =
            application.bundleIdentifier && (*application.bundleIdentifier == bundleID ||
                                             *application.bundleIdentifier == appStoreBundleID);
        if (isDivvy && !application.isTerminated &&
            workspace.processExists(application.processIdentifier))
            return application;
    }
    return std::nullopt;
}

}  // namespace tilewise::DivvyMigration

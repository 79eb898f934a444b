#pragma once

#include <cstdint>
#include <expected>
#include <functional>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/DivvyImport.h"
#include "core/Settings.h"
#include "platform/UserDefaults.h"
#include "platform/Workspace.h"

namespace tilewise {

/// Reads Divvy's preferences (never writing them): merges its saved shortcuts and options into
/// a copy of the settings, and tells which shortcuts a running Divvy holds. Each call reads the
/// domain afresh. Divvy sold through the App Store keeps its preferences under another domain;
/// it is read whenever the direct edition's domain holds no shortcuts.
namespace DivvyMigration {

/// Divvy's bundle identifier (direct edition), the same text as its preferences domain.
inline constexpr std::string_view bundleID = DivvyImport::defaultsDomain;
/// The App Store edition's bundle identifier and preferences domain.
inline constexpr std::string_view appStoreBundleID = DivvyImport::appStoreDefaultsDomain;

struct Result {
    /// The layouts of `settings` after the merge.
    std::vector<SavedLayout> layouts;
    TilewiseSettings settings;
    /// Three sentences for the user: the shortcuts, the grid and options, the panel shortcut;
    /// a fourth when names that were not UTF-8 had to be repaired.
    std::vector<std::string> notes;
};

/// The label of a key code in the current keyboard layout (KeyboardLabels in the application).
using KeyNamer = std::function<std::string(std::uint16_t keyCode)>;

/// Divvy's domain holds data under "shortcuts", whether or not it decodes.
bool hasSavedShortcuts(UserDefaults& defaults);

/// `settings` with Divvy's shortcuts and options merged in, and the notes; the import error
/// when the archive cannot be read, in which case nothing is produced.
std::expected<Result, DivvyImport::ImportError> migrate(const TilewiseSettings& settings,
                                                        UserDefaults& defaults,
                                                        const KeyNamer& keyName);

/// The shortcuts that Divvy registers globally: those of enabled global layouts. Empty when
/// there is no archive or it cannot be read.
std::unordered_set<KeyCombo> activeGlobalShortcuts(UserDefaults& defaults);

/// The first running, not terminated Divvy (either edition) whose process still exists.
std::optional<RunningApplication> runningInstance(Workspace& workspace);

}  // namespace DivvyMigration
}  // namespace tilewise

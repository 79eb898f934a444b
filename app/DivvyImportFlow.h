#pragma once

#include <functional>
#include <string_view>

#include "app/AlertPresenter.h"
#include "app/DivvyMigration.h"
#include "app/SettingsStore.h"
#include "platform/UserDefaults.h"

namespace tilewise {

/// Copies Divvy's saved shortcuts and grid settings into the store, asking first when told to,
/// and tells the user how it went in an alert.
namespace DivvyImportFlow {

inline constexpr std::string_view kConfirmMessage = "Import Divvy settings?";
inline constexpr std::string_view kConfirmText =
    "Tilewise will copy Divvy's saved shortcuts and grid settings. Layouts with the same name "
    "or shortcut are replaced. Divvy's own settings are not changed.";
inline constexpr std::string_view kImportButton = "Import";
inline constexpr std::string_view kCancelButton = "Cancel";
inline constexpr std::string_view kResultMessage = "Imported settings from Divvy";
inline constexpr std::string_view kRunningNote =
    "Divvy is running, so Tilewise's matching shortcuts are paused until Divvy quits. To switch, "
    "quit Divvy and turn off its “Launch at login”. To go back, quit Tilewise and open Divvy.";

struct Context {
    SettingsStore& store;
    UserDefaults& defaults;
    DivvyMigration::KeyNamer keyName;
    /// Asked after the import: whether Divvy runs at that moment.
    std::function<bool()> divvyIsRunning;
    AlertPresenter& alerts;
};

/// Returns true when the settings were replaced.
bool run(bool confirm, const Context& context);

/// The failure alert's informative text for `error`.
std::string failureText(std::string_view error);

}  // namespace DivvyImportFlow
}  // namespace tilewise

#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/HotKeyService.h"
#include "core/Settings.h"
#include "core/Uuid.h"

namespace tilewise {

/// One entry of the status item's menu, as the view shows it.
struct StatusMenuItem {
    enum class Action {
        none,  ///< shown inactive
        showGrid,
        applyLayout,
        permission,
        importDivvy,
        about,
        preferences,
        quit
    };

    std::string title;  ///< empty for a separator
    Action action = Action::none;
    bool isSeparator = false;
    std::optional<Uuid> layoutID;  ///< the layout an `applyLayout` item applies
    bool showsWarning = false;     ///< drawn with a warning sign
    std::string keyEquivalent;     ///< a single key, or empty

    static StatusMenuItem separator() {
        StatusMenuItem item;
        item.isSeparator = true;
        return item;
    }
    bool operator==(const StatusMenuItem&) const = default;
};

/// Everything the status menu shows.
struct StatusMenuInputs {
    TilewiseSettings settings;
    std::map<Uuid, HotKeyService::Status> layoutStatus;
    std::optional<HotKeyService::Status> panelShortcutStatus;
    std::optional<std::string> lastProblem;
    bool isTrusted = true;
    bool divvyHasSavedShortcuts = false;
    /// Whether a grid panel and a preferences window exist to open.
    bool canShowGrid = false;
    bool canShowPreferences = false;
    /// The modifier symbols and key name of a shortcut, as the desktop labels them.
    std::function<std::string(const KeyCombo&)> shortcutLabel;
};

/// The status item's menu, built afresh from its inputs.
namespace StatusMenu {

inline constexpr std::string_view kPermissionTitle = "Accessibility Access Needed…";
inline constexpr std::string_view kDivvyPausedTitle = "Divvy is running: matching shortcuts paused";
inline constexpr std::string_view kImportDivvyTitle = "Import Divvy Settings…";
inline constexpr std::string_view kAboutTitle = "About Tilewise";
inline constexpr std::string_view kPreferencesTitle = "Preferences…";
inline constexpr std::string_view kQuitTitle = "Quit Tilewise";
inline constexpr std::string_view kShowGridTitle = "Show Grid";

std::vector<StatusMenuItem> build(const StatusMenuInputs& inputs);

/// A layout's title: its name, its shortcut, its registration problem and "(off)".
std::string layoutTitle(const SavedLayout& layout,
                        const std::optional<HotKeyService::Status>& status,
                        const std::function<std::string(const KeyCombo&)>& shortcutLabel);

}  // namespace StatusMenu
}  // namespace tilewise

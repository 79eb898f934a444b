#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/Grid.h"
#include "core/Hashing.h"
#include "core/KeyCombo.h"
#include "core/LayoutEngine.h"
#include "core/Uuid.h"

namespace tilewise {

/// A named preset that places the target window on a block of cells of its own grid. Only an
/// enabled layout's shortcut is registered, matched or checked.
struct SavedLayout {
    Uuid id;
    std::string name;
    bool enabled = false;
    /// True: a hot key that works in any application; false: works only while the panel is open.
    bool isGlobal = false;
    std::optional<KeyCombo> shortcut;
    GridSize grid;
    CellSelection selection;

    bool operator==(const SavedLayout&) const = default;
};

/// Which display windows are arranged on: the panel opens there and layouts land there.
enum class PanelPlacement { displayUnderMouse, displayWithTargetWindow };

inline constexpr std::array<PanelPlacement, 2> kAllPanelPlacements{
    PanelPlacement::displayUnderMouse, PanelPlacement::displayWithTargetWindow};

/// The case's name, as the settings file stores it.
std::string_view rawValue(PanelPlacement placement);
/// The case named `text`; absent for any other string.
std::optional<PanelPlacement> panelPlacementFromRawValue(std::string_view text);

/// One problem `TilewiseSettings::validate` found. Fatal issues stop a document from being
/// loaded or imported; the others are warnings.
struct SettingsIssue {
    struct UnsupportedSchemaVersion {
        std::int64_t version;
        bool operator==(const UnsupportedSchemaVersion&) const = default;
    };
    struct InvalidLayout {
        std::string name;
        bool operator==(const InvalidLayout&) const = default;
    };
    struct DuplicateShortcut {
        KeyCombo shortcut;
        std::vector<std::string> names;
        bool operator==(const DuplicateShortcut&) const = default;
    };
    struct UnsafeGlobalShortcut {
        std::string name;
        KeyCombo::Problem problem;
        bool operator==(const UnsafeGlobalShortcut&) const = default;
    };
    struct InvalidGrid {
        bool operator==(const InvalidGrid&) const = default;
    };
    struct InvalidMargins {
        bool operator==(const InvalidMargins&) const = default;
    };

    using Case = std::variant<UnsupportedSchemaVersion, InvalidLayout, DuplicateShortcut,
                              UnsafeGlobalShortcut, InvalidGrid, InvalidMargins>;

    Case value;

    bool isFatal() const;
    /// The user-facing sentence; names are quoted with curly quotation marks.
    std::string description() const;

    bool operator==(const SettingsIssue&) const = default;
};

/// The whole user configuration. Changed only by assigning a modified copy to the store.
struct TilewiseSettings {
    static constexpr std::int64_t currentSchemaVersion = 1;
    /// The name under which the panel shortcut appears among duplicate shortcuts.
    static constexpr std::string_view kPanelShortcutName = "Show grid panel";

    std::int64_t schemaVersion = currentSchemaVersion;
    GridSize grid{6, 6};
    Margins margins = Margins::divvyDefault;
    bool animationsEnabled = true;
    bool showResizePreview = true;
    bool keepPanelOpen = false;
    bool selectOnScreen = true;
    bool panelShortcutEnabled = false;
    std::optional<KeyCombo> panelShortcut;
    bool monitorCycling = false;
    bool showMenuBarIcon = true;
    bool launchAtLogin = false;
    PanelPlacement panelPlacement = PanelPlacement::displayUnderMouse;
    std::vector<SavedLayout> layouts;

    /// The document of a first run: no layouts, margins preset but off.
    static const TilewiseSettings& defaults();

    /// Every problem of the document: version, grid, margins, invalid layouts, unsafe global
    /// shortcuts, then duplicate shortcuts. Never fails.
    std::vector<SettingsIssue> validate() const;

    bool operator==(const TilewiseSettings&) const = default;
};

}  // namespace tilewise

TILEWISE_DECLARE_HASH(tilewise::SavedLayout);
TILEWISE_DECLARE_HASH(tilewise::TilewiseSettings);

#pragma once

#include <filesystem>
#include <string>

#include "core/Settings.h"

namespace tilewise {

class SettingsStore;

/// Exporting the settings to a file of the user's choice and importing them from one. Each
/// returns the sentence the Data pane shows.
namespace SettingsTransfer {

/// The name the save dialog proposes.
inline constexpr std::string_view kProposedFileName = "Tilewise Settings.json";

/// Writes the settings' JSON to `file` atomically: "Exported to NAME." or "Export failed: …".
std::string exportSettings(const TilewiseSettings& settings, const std::filesystem::path& file);

/// Reads and validates `file`; only a valid document replaces the store's settings, and it is
/// saved at once: "Imported NAME." or "Import failed: …" with the settings untouched.
std::string importSettings(SettingsStore& store, const std::filesystem::path& file);

}  // namespace SettingsTransfer
}  // namespace tilewise

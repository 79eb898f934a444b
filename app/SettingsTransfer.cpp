#include "app/SettingsTransfer.h"

#include "app/Files.h"
#include "app/SettingsStore.h"
#include "core/SettingsCoder.h"

namespace tilewise::SettingsTransfer {

std::string exportSettings(const TilewiseSettings& settings, const std::filesystem::path& file) {
    const auto json = SettingsCoder::encode(settings);
    if (!json)
        return "Export failed: " + json.error().description();
    if (const auto written = Files::writeAtomically(file, *json); !written)
        return "Export failed: " + written.error();
    return "Exported to " + file.filename().string() + ".";
}

std::string importSettings(SettingsStore& store, const std::filesystem::path& file) {
    const auto bytes = Files::readAll(file);
    if (!bytes)
        return "Import failed: " + bytes.error();
    auto settings = SettingsCoder::decode(*bytes);
    if (!settings)
        return "Import failed: " + settings.error().description();
    store.setSettings(std::move(*settings));
    store.saveNow();
    return "Imported " + file.filename().string() + ".";
}

}  // namespace tilewise::SettingsTransfer

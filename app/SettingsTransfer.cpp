#include "app/SettingsTransfer.h"

#include "app/SettingsFile.h"
#include "app/SettingsStore.h"
#include "core/SettingsCoder.h"
#include "platform/Files.h"

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
    auto loaded = SettingsFile::read(file);
    if (!loaded)
        return "Import failed: " + loaded.error().description;
    store.setSettings(std::move(loaded->settings));
    if (const auto saved = store.saveNow(); !saved)
        return "Imported " + file.filename().string() + "; it could not be saved: " + saved.error();
    return "Imported " + file.filename().string() + ".";
}

}  // namespace tilewise::SettingsTransfer

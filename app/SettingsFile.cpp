#include "app/SettingsFile.h"

#include <system_error>

#include "core/SettingsCoder.h"
#include "platform/Files.h"

namespace tilewise::SettingsFile {

std::expected<Loaded, Failure> read(const std::filesystem::path& path) {
    auto bytes = Files::readAll(path, SettingsCoder::kMaximumDocumentSize);
    if (!bytes) {
        const auto kind =
            bytes.error().isMissing() ? Failure::Kind::missing : Failure::Kind::unreadable;
        return std::unexpected(
            Failure{kind, "The settings file could not be read: " + bytes.error().message, {}});
    }
    auto settings = SettingsCoder::decode(*bytes);
    if (!settings) {
        return std::unexpected(
            Failure{Failure::Kind::undecodable, settings.error().description(), std::move(*bytes)});
    }
    std::error_code error;
    auto file = std::filesystem::canonical(path, error);
    return Loaded{std::move(*settings), error ? path : std::move(file)};
}

std::expected<TilewiseSettings, Failure> readOrDefaults(const std::filesystem::path& path) {
    auto loaded = read(path);
    if (loaded)
        return std::move(loaded->settings);
    if (loaded.error().kind == Failure::Kind::missing)
        return TilewiseSettings::defaults();
    return std::unexpected(std::move(loaded.error()));
}

}  // namespace tilewise::SettingsFile

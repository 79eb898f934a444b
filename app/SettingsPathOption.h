#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tilewise::SettingsPathOption {

/// The user-defaults key that overrides where the settings file lives; also the name of the
/// environment variable that does.
inline constexpr std::string_view kKey = "TilewiseSettingsPath";
/// On a command line the key is given as `-TilewiseSettingsPath PATH`.
inline constexpr std::string_view kFlag = "-TilewiseSettingsPath";

inline bool isFlag(std::string_view argument) {
    return argument == kFlag;
}

/// The non-empty path given with the flag among `arguments`, if any.
inline std::optional<std::string> value(const std::vector<std::string>& arguments) {
    for (std::size_t i = 0; i + 1 < arguments.size(); ++i) {
        if (isFlag(arguments[i]) && !arguments[i + 1].empty())
            return arguments[i + 1];
    }
    return std::nullopt;
}

}  // namespace tilewise::SettingsPathOption

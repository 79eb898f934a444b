#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/SettingsPathOption.h"

namespace tilewise::BackendOption {

inline constexpr std::string_view kPrefix = "--platform=";
inline constexpr std::string_view kDefault = "x11";

/// The backend that a leading `--platform=NAME` chooses (x11 without one), and how many of the
/// arguments chose it (0 or 1).
struct Choice {
    std::string_view backend;
    std::size_t arguments;
};
inline Choice leading(const std::vector<std::string>& arguments) {
    if (!arguments.empty() && arguments.front().starts_with(kPrefix))
        return {std::string_view{arguments.front()}.substr(kPrefix.size()), 1};
    return {kDefault, 0};
}

/// Without a subcommand (at most the backend and the settings path are given) Tilewise runs as
/// the resident application: its backend then.
inline std::optional<std::string_view> residentBackend(const std::vector<std::string>& arguments) {
    std::string_view backend = kDefault;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i].starts_with(kPrefix)) {
            backend = std::string_view{arguments[i]}.substr(kPrefix.size());
        } else if (SettingsPathOption::isFlag(arguments[i])) {
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return backend;
}

}  // namespace tilewise::BackendOption

#include "platform/x11/X11UserDefaults.h"

#include <cstdlib>

namespace tilewise::x11 {

X11UserDefaults::X11UserDefaults(std::vector<std::string> arguments,
                                 std::vector<std::filesystem::path> preferenceDirectories)
    : arguments_(std::move(arguments)), otherDomains_(std::move(preferenceDirectories)) {}

std::optional<PropertyValue> X11UserDefaults::value(std::string_view key) {
    if (key.empty())
        return std::nullopt;
    const std::string flag = "-" + std::string(key);
    // The program name is never a flag; a flag as the last argument has no value.
    for (std::size_t index = 1; index + 1 < arguments_.size(); ++index) {
        if (arguments_[index] == flag)
            return PropertyValue{arguments_[index + 1]};
    }
    if (const char* variable = std::getenv(std::string(key).c_str())) {
        return PropertyValue{std::string(variable)};
    }
    return std::nullopt;
}

std::optional<PropertyValue> X11UserDefaults::value(std::string_view domain, std::string_view key) {
    return otherDomains_.value(domain, key);
}

}  // namespace tilewise::x11

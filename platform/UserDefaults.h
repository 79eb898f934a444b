#pragma once

#include <optional>
#include <string_view>

#include "platform/PropertyValue.h"

namespace tilewise {

/// User defaults: this application's own domain (launch arguments such as
/// `-TilewiseSettingsPath PATH` take precedence over stored values) and, read only, the domain
/// of another application by its identifier. Callable from any thread.
class UserDefaults {
  public:
    UserDefaults() = default;
    UserDefaults(const UserDefaults&) = delete;
    UserDefaults& operator=(const UserDefaults&) = delete;
    virtual ~UserDefaults() = default;

    /// The value of `key` in the application's own domain; absent when unset.
    virtual std::optional<PropertyValue> value(std::string_view key) = 0;
    /// The value of `key` in the domain `domain` (for example "com.mizage.direct.Divvy");
    /// absent when the key is unset or the domain is missing or cannot be read.
    virtual std::optional<PropertyValue> value(std::string_view domain, std::string_view key) = 0;
};

}  // namespace tilewise

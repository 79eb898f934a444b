#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace tilewise {

/// Raw bytes of a property-list data value (for example a keyed archive).
using PropertyData = std::vector<std::uint8_t>;

/// A typed property-list scalar, as user defaults, screen device descriptions and the system's
/// symbolic hot keys hand them out. The alternative held is the type the platform stored;
/// readers check it instead of converting, so a value of the wrong type is noticed.
using PropertyValue = std::variant<bool, std::int64_t, double, std::string, PropertyData>;

/// A string-keyed dictionary of property values.
using PropertyDictionary = std::map<std::string, PropertyValue, std::less<>>;

/// The value as a number when it holds an integer or a floating-point number; absent otherwise
/// (a boolean is not a number here).
inline std::optional<double> propertyNumber(const PropertyValue& value) {
    if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        return static_cast<double>(*integer);
    }
    if (const auto* real = std::get_if<double>(&value)) {
        return *real;
    }
    return std::nullopt;
}

}  // namespace tilewise

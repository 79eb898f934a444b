#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace tilewise {

/// Why bytes could not be read as a property list.
enum class PropertyListError {
    notAPropertyList,  // neither a binary nor an XML property list
    tooComplex,        // beyond `PropertyListLimits`: too large, too many objects, too deep
};

/// Hard bounds on what `PropertyList::parse` accepts, so that hostile input ends in an error
/// instead of exhausting time, memory or the stack. The defaults are far above any
/// preferences file or keyed archive that an application writes.
struct PropertyListLimits {
    std::size_t maxBytes = 4 * 1024 * 1024;
    /// Values in the parsed tree, counting a shared binary object once per place it is used.
    std::size_t maxValues = 50'000;
    /// Elements of one array or entries of one dictionary.
    std::size_t maxEntries = 4'096;
    /// Containers nested in one another, the outermost one included.
    std::size_t maxDepth = 32;
};

/// A property-list value (binary or XML format) that owns all its data. Integers are signed
/// 64-bit: the binary format stores negative numbers that way, and the rare unsigned values
/// above the signed range read as negative.
class PropertyList {
  public:
    /// A keyed archiver's object reference (CFKeyedArchiverUID): an index into "$objects".
    struct Uid {
        std::uint64_t index = 0;
        bool operator==(const Uid&) const = default;
    };
    /// Seconds relative to 2001-01-01 00:00:00 UTC.
    struct Date {
        double secondsSinceReferenceDate = 0;
        bool operator==(const Date&) const = default;
    };
    using Data = std::vector<std::uint8_t>;
    using Array = std::vector<PropertyList>;
    /// Entries in the order the file holds them.
    using Dictionary = std::vector<std::pair<std::string, PropertyList>>;
    using Value =
        std::variant<bool, std::int64_t, double, std::string, Data, Date, Uid, Array, Dictionary>;

    explicit PropertyList(Value value) : value_(std::move(value)) {}

    /// Reads a binary ("bplist00") or XML property list within `limits`.
    static std::expected<PropertyList, PropertyListError> parse(
        std::span<const std::uint8_t> bytes, const PropertyListLimits& limits = {});

    const Value& value() const { return value_; }

    /// Each accessor gives the value when it has that type, and null (or none) otherwise.
    const bool* boolean() const { return std::get_if<bool>(&value_); }
    const std::int64_t* integer() const { return std::get_if<std::int64_t>(&value_); }
    const std::string* string() const { return std::get_if<std::string>(&value_); }
    const Data* data() const { return std::get_if<Data>(&value_); }
    const Uid* uid() const { return std::get_if<Uid>(&value_); }
    const Array* array() const { return std::get_if<Array>(&value_); }
    const Dictionary* dictionary() const { return std::get_if<Dictionary>(&value_); }
    /// An integer or a real, as a real.
    std::optional<double> number() const;

    /// The first value under `key` when this is a dictionary; null when absent or not one.
    const PropertyList* find(std::string_view key) const;

    bool operator==(const PropertyList&) const = default;

  private:
    Value value_;
};

}  // namespace tilewise

#pragma once

#include <cstdint>
#include <expected>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/PropertyList.h"

namespace tilewise {

/// Why a keyed archive could not be read.
enum class KeyedArchiveError {
    notAnArchive,  // not a property list, or not in the keyed-archive layout
    malformed,     // a reference, class or value does not hold what the reader asked for
};

/// Reads the object graph that a keyed archiver writes: a property list with "$archiver",
/// "$version", "$top" and "$objects", whose objects refer to each other by UID. A reference is
/// followed exactly one step into "$objects"; a reference that lands on another reference is
/// malformed, so no chain (and no cycle) is ever chased. Values decode with the keyed coder's
/// rules: a missing key reads as absent, a key of the wrong type is an error.
class KeyedArchive {
  public:
    static std::expected<KeyedArchive, KeyedArchiveError> open(
        std::span<const std::uint8_t> bytes, const PropertyListLimits& limits = {});

    /// The object under `$top["root"]`; null when the root is nil.
    std::expected<const PropertyList*, KeyedArchiveError> root() const;

    /// The object that `reference` (a UID) names; null for the archive's "$null" object.
    std::expected<const PropertyList*, KeyedArchiveError> resolve(
        const PropertyList& reference) const;

    /// The "$classname" of an object's "$class".
    std::expected<std::string, KeyedArchiveError> className(const PropertyList& object) const;

    /// The elements of an NSArray or NSMutableArray object ("NS.objects"), resolved.
    std::expected<std::vector<const PropertyList*>, KeyedArchiveError> arrayElements(
        const PropertyList& object) const;

    /// An object's integer under `key`; none when the key is missing.
    std::expected<std::optional<std::int64_t>, KeyedArchiveError> integer(
        const PropertyList& object, std::string_view key) const;
    /// An object's boolean under `key`; none when the key is missing.
    std::expected<std::optional<bool>, KeyedArchiveError> boolean(const PropertyList& object,
                                                                  std::string_view key) const;
    /// An object's string under `key` (a plain string, NSString or NSMutableString object);
    /// none when the key is missing or refers to nil.
    std::expected<std::optional<std::string>, KeyedArchiveError> string(const PropertyList& object,
                                                                        std::string_view key) const;

  private:
    explicit KeyedArchive(PropertyList plist) : plist_(std::move(plist)) {}

    const PropertyList::Array& objects() const;
    std::expected<std::string, KeyedArchiveError> stringValue(const PropertyList& object) const;

    PropertyList plist_;
};

}  // namespace tilewise

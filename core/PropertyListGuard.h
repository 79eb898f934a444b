#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "core/PropertyList.h"

namespace tilewise {

/// A structural pass over raw property-list bytes before libplist sees them. libplist 2.2
/// recurses without a depth bound and re-reads a shared binary object at every reference, so
/// a small hostile file can overflow the stack or take exponential time inside it; these checks
/// turn such input into an error first.
namespace PropertyListGuard {

/// Walks the object graph of a binary property list: trailer, offset table, every object's
/// extent, references in range, no reference cycle, nesting, entry counts and the size of the
/// tree once shared objects are expanded. None when libplist may safely parse the bytes.
std::optional<PropertyListError> checkBinary(std::span<const std::uint8_t> bytes,
                                             const PropertyListLimits& limits);

/// Bounds the element nesting of an XML property list, following the tag syntax the way
/// libplist's parser does (comments, CDATA, processing instructions) and refusing the constructs
/// on which the two could disagree (document type subsets, quoted text inside value tags).
std::optional<PropertyListError> checkXml(std::string_view text, const PropertyListLimits& limits);

}  // namespace PropertyListGuard
}  // namespace tilewise

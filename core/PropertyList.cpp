#include "core/PropertyList.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include <plist/plist.h>

#include "core/PropertyListGuard.h"

namespace tilewise {
namespace {

constexpr std::string_view kBinaryMagic = "bplist00";

struct NodeDeleter {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using OwnedNode = std::unique_ptr<void, NodeDeleter>;

// libplist hands out iterators and dictionary keys from malloc.
struct MallocDeleter {
    void operator()(void* memory) const { std::free(memory); }
};
using OwnedIterator = std::unique_ptr<void, MallocDeleter>;
using OwnedKey = std::unique_ptr<char, MallocDeleter>;

using Converted = std::expected<PropertyList, PropertyListError>;

// The XML format has no UID element: a keyed archive spells each reference as a dictionary
// whose only key is "CF$UID", and readers turn it back into a reference.
std::optional<PropertyList::Uid> xmlReference(const PropertyList::Dictionary& entries) {
    if (entries.size() != 1 || entries.front().first != "CF$UID")
        return std::nullopt;
    const auto* index = entries.front().second.integer();
    if (index == nullptr || *index < 0)
        return std::nullopt;
    return PropertyList::Uid{static_cast<std::uint64_t>(*index)};
}

// Copies libplist's node tree into our own values, counting values and levels against the
// limits on the way (the guard has bounded them already for binary input; this keeps the
// bound for everything libplist produced).
class NodeConverter {
  public:
    explicit NodeConverter(const PropertyListLimits& limits) : limits_(limits) {}

    Converted convert(plist_t node, std::size_t depth) {
        if (++values_ > limits_.maxValues)
            return std::unexpected(PropertyListError::tooComplex);
        switch (plist_get_node_type(node)) {
            case PLIST_ARRAY:
                return convertArray(node, depth + 1);
            case PLIST_DICT:
                return convertDictionary(node, depth + 1);
            default:
                return convertScalar(node);
        }
    }

  private:
    static Converted convertScalar(plist_t node) {
        switch (plist_get_node_type(node)) {
            case PLIST_BOOLEAN: {
                std::uint8_t value = 0;
                plist_get_bool_val(node, &value);
                return PropertyList{value != 0};
            }
            case PLIST_UINT: {
                std::uint64_t value = 0;
                plist_get_uint_val(node, &value);
                return PropertyList{static_cast<std::int64_t>(value)};
            }
            case PLIST_REAL: {
                double value = 0;
                plist_get_real_val(node, &value);
                return PropertyList{value};
            }
            case PLIST_STRING: {
                std::uint64_t length = 0;
                const char* text = plist_get_string_ptr(node, &length);
                return PropertyList{text ? std::string(text, length) : std::string{}};
            }
            case PLIST_DATA: {
                std::uint64_t length = 0;
                const auto* bytes =
                    reinterpret_cast<const std::uint8_t*>(plist_get_data_ptr(node, &length));
                return PropertyList{bytes ? PropertyList::Data(bytes, bytes + length)
                                          : PropertyList::Data{}};
            }
            case PLIST_DATE: {
                std::int32_t seconds = 0;
                std::int32_t microseconds = 0;
                plist_get_date_val(node, &seconds, &microseconds);
                return PropertyList{PropertyList::Date{seconds + microseconds / 1e6}};
            }
            case PLIST_UID: {
                std::uint64_t index = 0;
                plist_get_uid_val(node, &index);
                return PropertyList{PropertyList::Uid{index}};
            }
            default:
                return std::unexpected(PropertyListError::notAPropertyList);
        }
    }

    bool fitsLimits(std::size_t depth, std::size_t entries) const {
        return depth <= limits_.maxDepth && entries <= limits_.maxEntries;
    }

    Converted convertArray(plist_t node, std::size_t depth) {
        if (!fitsLimits(depth, plist_array_get_size(node)))
            return std::unexpected(PropertyListError::tooComplex);
        plist_array_iter rawIterator = nullptr;
        plist_array_new_iter(node, &rawIterator);
        const OwnedIterator iterator{rawIterator};
        PropertyList::Array elements;
        for (;;) {
            plist_t item = nullptr;
            plist_array_next_item(node, rawIterator, &item);
            if (item == nullptr)
                break;
            auto element = convert(item, depth);
            if (!element)
                return element;
            elements.push_back(std::move(*element));
        }
        return PropertyList{std::move(elements)};
    }

    Converted convertDictionary(plist_t node, std::size_t depth) {
        if (!fitsLimits(depth, plist_dict_get_size(node)))
            return std::unexpected(PropertyListError::tooComplex);
        plist_dict_iter rawIterator = nullptr;
        plist_dict_new_iter(node, &rawIterator);
        const OwnedIterator iterator{rawIterator};
        PropertyList::Dictionary entries;
        for (;;) {
            char* rawKey = nullptr;
            plist_t item = nullptr;
            plist_dict_next_item(node, rawIterator, &rawKey, &item);
            const OwnedKey key{rawKey};
            if (item == nullptr || rawKey == nullptr)
                break;
            auto value = convert(item, depth);
            if (!value)
                return value;
            entries.emplace_back(std::string{rawKey}, std::move(*value));
        }
        if (auto reference = xmlReference(entries))
            return PropertyList{*reference};
        return PropertyList{std::move(entries)};
    }

    const PropertyListLimits& limits_;
    std::size_t values_ = 0;
};

std::expected<OwnedNode, PropertyListError> readNodes(std::span<const std::uint8_t> bytes,
                                                      const PropertyListLimits& limits) {
    const auto* chars = reinterpret_cast<const char*>(bytes.data());
    const auto length = static_cast<std::uint32_t>(bytes.size());
    const bool binary = std::string_view{chars, bytes.size()}.starts_with(kBinaryMagic);
    const auto refused = binary ? PropertyListGuard::checkBinary(bytes, limits)
                                : PropertyListGuard::checkXml({chars, bytes.size()}, limits);
    if (refused)
        return std::unexpected(*refused);
    plist_t root = nullptr;
    if (binary)
        plist_from_bin(chars, length, &root);
    else
        plist_from_xml(chars, length, &root);
    if (root == nullptr)
        return std::unexpected(PropertyListError::notAPropertyList);
    return OwnedNode{root};
}

}  // namespace

std::expected<PropertyList, PropertyListError> PropertyList::parse(
    std::span<const std::uint8_t> bytes, const PropertyListLimits& limits) {
    if (bytes.empty())
        return std::unexpected(PropertyListError::notAPropertyList);
    if (bytes.size() > limits.maxBytes)
        return std::unexpected(PropertyListError::tooComplex);
    const auto root = readNodes(bytes, limits);
    if (!root)
        return std::unexpected(root.error());
    return NodeConverter{limits}.convert(static_cast<plist_t>(root->get()), 0);
}

std::optional<double> PropertyList::number() const {
    if (const auto* value = integer())
        return static_cast<double>(*value);
    if (const auto* value = std::get_if<double>(&value_))
        return *value;
    return std::nullopt;
}

const PropertyList* PropertyList::find(std::string_view key) const {
    const auto* entries = dictionary();
    if (entries == nullptr)
        return nullptr;
    const auto found = std::find_if(entries->begin(), entries->end(),
                                    [&](const auto& entry) { return entry.first == key; });
    return found == entries->end() ? nullptr : &found->second;
}

}  // namespace tilewise

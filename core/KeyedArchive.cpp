#include "core/KeyedArchive.h"

namespace tilewise {
namespace {

constexpr std::string_view kArchiverName = "NSKeyedArchiver";
constexpr std::int64_t kArchiveVersion = 100000;
constexpr std::string_view kNullObject = "$null";

const auto kMalformed = std::unexpected(KeyedArchiveError::malformed);

bool isStringClass(std::string_view name) {
    return name == "NSString" || name == "NSMutableString";
}

bool isArrayClass(std::string_view name) {
    return name == "NSArray" || name == "NSMutableArray";
}

bool hasKeyedArchiveLayout(const PropertyList& plist) {
    const auto* archiver = plist.find("$archiver");
    const auto* version = plist.find("$version");
    const auto* top = plist.find("$top");
    const auto* objects = plist.find("$objects");
    return archiver && archiver->string() && *archiver->string() == kArchiverName && version &&
           version->integer() && *version->integer() == kArchiveVersion && top &&
           top->dictionary() && objects && objects->array();
}

}  // namespace

std::expected<KeyedArchive, KeyedArchiveError> KeyedArchive::open(
    std::span<const std::uint8_t> bytes, const PropertyListLimits& limits) {
    auto plist = PropertyList::parse(bytes, limits);
    if (!plist || !hasKeyedArchiveLayout(*plist))
        return std::unexpected(KeyedArchiveError::notAnArchive);
    return KeyedArchive{std::move(*plist)};
}

const PropertyList::Array& KeyedArchive::objects() const {
    return *plist_.find("$objects")->array();
}

std::expected<const PropertyList*, KeyedArchiveError> KeyedArchive::root() const {
    const auto* reference = plist_.find("$top")->find("root");
    if (reference == nullptr)
        return nullptr;
    return resolve(*reference);
}

std::expected<const PropertyList*, KeyedArchiveError> KeyedArchive::resolve(
    const PropertyList& reference) const {
    const auto* uid = reference.uid();
    const auto& all = objects();
    if (uid == nullptr || uid->index >= all.size())
        return kMalformed;
    const PropertyList& target = all[uid->index];
    if (target.uid() != nullptr)
        return kMalformed;
    if (target.string() != nullptr && *target.string() == kNullObject)
        return nullptr;
    return &target;
}

std::expected<std::string, KeyedArchiveError> KeyedArchive::className(
    const PropertyList& object) const {
    const auto* reference = object.find("$class");
    if (reference == nullptr)
        return kMalformed;
    const auto classObject = resolve(*reference);
    if (!classObject)
        return std::unexpected(classObject.error());
    const auto* name = *classObject ? (*classObject)->find("$classname") : nullptr;
    if (name == nullptr || name->string() == nullptr)
        return kMalformed;
    return *name->string();
}

std::expected<std::vector<const PropertyList*>, KeyedArchiveError> KeyedArchive::arrayElements(
    const PropertyList& object) const {
    const auto name = className(object);
    if (!name)
        return std::unexpected(name.error());
    const auto* references = object.find("NS.objects");
    if (!isArrayClass(*name) || references == nullptr || references->array() == nullptr)
        return kMalformed;
    std::vector<const PropertyList*> elements;
    elements.reserve(references->array()->size());
    for (const PropertyList& reference : *references->array()) {
        const auto element = resolve(reference);
        if (!element || *element == nullptr)  // a collection never holds nil
            return kMalformed;
        elements.push_back(*element);
    }
    return elements;
}

std::expected<std::optional<std::int64_t>, KeyedArchiveError> KeyedArchive::integer(
    const PropertyList& object, std::string_view key) const {
    const auto* value = object.find(key);
    if (value == nullptr)
        return std::nullopt;
    if (value->integer() == nullptr)
        return kMalformed;
    return *value->integer();
}

std::expected<std::optional<bool>, KeyedArchiveError> KeyedArchive::boolean(
    const PropertyList& object, std::string_view key) const {
    const auto* value = object.find(key);
    if (value == nullptr)
        return std::nullopt;
    if (value->boolean() == nullptr)
        return kMalformed;
    return *value->boolean();
}

std::expected<std::optional<std::string>, KeyedArchiveError> KeyedArchive::string(
    const PropertyList& object, std::string_view key) const {
    const auto* reference = object.find(key);
    if (reference == nullptr)
        return std::nullopt;
    const auto target = resolve(*reference);
    if (!target)
        return std::unexpected(target.error());
    if (*target == nullptr)
        return std::nullopt;
    return stringValue(**target);
}

std::expected<std::string, KeyedArchiveError> KeyedArchive::stringValue(
    const PropertyList& object) const {
    if (object.string() != nullptr)
        return *object.string();
    // Mutable strings are archived as objects of their own class around the text.
    const auto name = className(object);
    const auto* text = object.find("NS.string");
    if (!name || !isStringClass(*name) || text == nullptr || text->string() == nullptr)
        return kMalformed;
    return *text->string();
}

}  // namespace tilewise

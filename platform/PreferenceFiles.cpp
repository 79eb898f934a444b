#include "platform/PreferenceFiles.h"

#include <cstdlib>
#include <span>

#include "core/PropertyList.h"
#include "platform/Files.h"
#include "platform/Log.h"

namespace tilewise {
namespace {

std::filesystem::path environmentPath(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::filesystem::path{value} : std::filesystem::path{};
}

std::optional<PropertyValue> propertyValue(const PropertyList& value) {
    return std::visit(
        [](const auto& held) -> std::optional<PropertyValue> {
            using Held = std::decay_t<decltype(held)>;
            if constexpr (std::is_constructible_v<PropertyValue, Held>)
                return PropertyValue{held};
            else
                return std::nullopt;  // dates, arrays, dictionaries: no property value
        },
        value.value());
}

std::string_view reasonFor(PropertyListError error) {
    switch (error) {
        case PropertyListError::notAPropertyList:
            return "is not a property list";
        case PropertyListError::tooComplex:
            return "is too large or too deeply nested to be a preferences file";
    }
    return "is not a property list";
}

}  // namespace

PreferenceFiles::PreferenceFiles(std::vector<std::filesystem::path> directories)
    : directories_(std::move(directories)) {}

std::vector<std::filesystem::path> PreferenceFiles::standardDirectories() {
    const auto home = environmentPath("HOME");
    auto config = environmentPath("XDG_CONFIG_HOME");
    if (config.empty())
        config = home / ".config";
    return {config / "Tilewise" / "Preferences", home / "Library" / "Preferences"};
}

std::expected<PropertyDictionary, std::string> PreferenceFiles::readDomain(
    const std::filesystem::path& file) {
    const auto bytes = Files::readAll(file, PropertyListLimits{}.maxBytes);
    if (!bytes)
        return std::unexpected(bytes.error().message);
    const auto plist = PropertyList::parse(
        std::span{reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()});
    const auto quoted = "“" + file.string() + "” ";
    if (!plist)
        return std::unexpected(quoted + std::string{reasonFor(plist.error())});
    if (plist->dictionary() == nullptr)
        return std::unexpected(quoted + "holds no dictionary at its top");
    PropertyDictionary domain;
    for (const auto& [key, entry] : *plist->dictionary()) {
        if (auto converted = propertyValue(entry))
            domain.emplace(key, std::move(*converted));
    }
    return domain;
}

void PreferenceFiles::setDomainFile(std::string_view domain, std::filesystem::path file) {
    domainFiles_.insert_or_assign(std::string{domain}, std::move(file));
}

std::optional<PropertyValue> PreferenceFiles::value(std::string_view) {
    return std::nullopt;
}

std::optional<PropertyValue> PreferenceFiles::value(std::string_view domain, std::string_view key) {
    std::filesystem::path file;
    if (const auto fixed = domainFiles_.find(domain); fixed != domainFiles_.end()) {
        file = fixed->second;
    } else {
        const std::string name = std::string{domain} + ".plist";
        for (const auto& directory : directories_) {
            std::error_code ignored;
            if (std::filesystem::is_regular_file(directory / name, ignored)) {
                file = directory / name;
                break;
            }
        }
    }
    if (file.empty())
        return std::nullopt;
    const auto values = readDomain(file);
    if (!values) {
        Log::error(LogCategory::settings, "preferences not read: " + values.error());
        return std::nullopt;
    }
    const auto found = values->find(key);
    return found == values->end() ? std::nullopt : std::optional{found->second};
}

}  // namespace tilewise

#include "core/DivvyImport.h"

#include "core/DivvyShortcutRecord.h"
#include "core/KeyedArchive.h"

namespace tilewise::DivvyImport {
namespace {

constexpr std::string_view kShortcutClass = "Shortcut";

std::expected<SavedLayout, ImportError> layoutOf(const KeyedArchive& archive,
                                                 const PropertyList& element) {
    const auto className = archive.className(element);
    if (!className || *className != kShortcutClass)
        return std::unexpected(ImportError::unexpectedContents);
    const auto record = DivvyShortcutRecord::decode(archive, element);
    if (!record || !record->layout())
        return std::unexpected(ImportError::unexpectedContents);
    return *record->layout();
}

}  // namespace

std::string_view caseName(ImportError error) {
    switch (error) {
        case ImportError::notAnArchive:
            return "notAnArchive";
        case ImportError::unexpectedContents:
            return "unexpectedContents";
    }
    return "unexpectedContents";
}

std::expected<std::vector<SavedLayout>, ImportError> layouts(std::span<const std::uint8_t> bytes) {
    const auto archive = KeyedArchive::open(bytes);
    if (!archive)
        return std::unexpected(ImportError::notAnArchive);
    const auto root = archive->root();
    if (!root || *root == nullptr)
        return std::unexpected(ImportError::unexpectedContents);
    const auto elements = archive->arrayElements(**root);
    if (!elements)
        return std::unexpected(ImportError::unexpectedContents);
    std::vector<SavedLayout> result;
    result.reserve(elements->size());
    for (const PropertyList* element : *elements) {
        auto layout = layoutOf(*archive, *element);
        if (!layout)
            return std::unexpected(layout.error());
        result.push_back(std::move(*layout));
    }
    return result;
}

}  // namespace tilewise::DivvyImport

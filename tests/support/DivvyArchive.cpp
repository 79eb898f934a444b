#include "tests/support/DivvyArchive.h"

namespace tilewise::test {

Bytes divvyArchive(const std::vector<ArchivedShortcut>& shortcuts) {
    KeyedArchiveBuilder builder;
    const auto shortcutClass = builder.addClass("Shortcut", {"Shortcut", "NSObject"});
    std::vector<std::uint64_t> elements;
    for (const auto& shortcut : shortcuts) {
        std::vector<std::pair<std::string, Node>> fields;
        fields.emplace_back("$class", uid(shortcutClass));
        fields.emplace_back("nameKey", uid(builder.addString(shortcut.name)));
        fields.emplace_back("sizeColumns", integer(shortcut.columns));
        fields.emplace_back("sizeRows", integer(4));
        fields.emplace_back("selectionEndColumn", integer(1));
        fields.emplace_back("enabled", boolean(shortcut.enabled));
        fields.emplace_back("global", boolean(shortcut.global));
        if (shortcut.shortcut) {
            fields.emplace_back("keyComboCode", integer(shortcut.shortcut->keyCode));
            fields.emplace_back(
                "keyComboFlags",
                integer(static_cast<std::int64_t>(shortcut.shortcut->modifiers.rawValue())));
        }
        elements.push_back(builder.add(dictionary(std::move(fields))));
    }
    const auto arrayClass = builder.addClass("NSMutableArray", {"NSMutableArray", "NSArray"});
    builder.setRoot(builder.addArray(arrayClass, elements));
    return builder.binary();
}

}  // namespace tilewise::test

#include "tests/support/DivvyArchive.h"

namespace tilewise::test {

DivvyArchive::DivvyArchive() {
    classIndex("Shortcut");
    classIndex("NSMutableArray");
}

Entries DivvyArchive::entries(const DivvyRecord& record) {
    Entries fields;
    if (record.name)
        fields.emplace_back("nameKey", uid(addName(*record.name)));
    const std::pair<const char*, std::int64_t> integers[] = {
        {"sizeColumns", record.columns},
        {"sizeRows", record.rows},
        {"selectionStartColumn", record.startColumn},
        {"selectionStartRow", record.startRow},
        {"selectionEndColumn", record.endColumn},
        {"selectionEndRow", record.endRow},
        {"keyComboFlags", record.flags}};
    for (const auto& [key, value] : integers)
        fields.emplace_back(key, integer(value));
    if (record.keyCode)
        fields.emplace_back("keyComboCode", integer(*record.keyCode));
    fields.emplace_back("enabled", boolean(record.enabled));
    fields.emplace_back("global", boolean(record.global));
    fields.emplace_back("subdivided", boolean(record.subdivided));
    return fields;
}

std::uint64_t DivvyArchive::addObject(Entries fields, const std::string& className) {
    fields.emplace_back("$class", uid(classIndex(className)));
    const auto index = builder_.add(dictionary(std::move(fields)));
    elements_.push_back(index);
    return index;
}

Node DivvyArchive::archive(const std::string& rootClass) {
    builder_.setRoot(builder_.addArray(classIndex(rootClass), elements_));
    return builder_.archive();
}

std::uint64_t DivvyArchive::classIndex(const std::string& name) {
    const auto found = classes_.find(name);
    if (found != classes_.end())
        return found->second;
    return classes_[name] = builder_.addClass(name, {name, "NSObject"});
}

Bytes divvyArchive(const std::vector<ArchivedShortcut>& shortcuts) {
    DivvyArchive archive;
    for (const auto& shortcut : shortcuts) {
        archive.add(
            {.name = shortcut.name,
             .columns = shortcut.columns,
             .rows = 4,
             .endColumn = 1,
             .endRow = 0,
             .keyCode = shortcut.shortcut ? std::optional<std::int64_t>{shortcut.shortcut->keyCode}
                                          : std::nullopt,
             .flags = shortcut.shortcut
                          ? static_cast<std::int64_t>(shortcut.shortcut->modifiers.rawValue())
                          : 0,
             .enabled = shortcut.enabled,
             .global = shortcut.global});
    }
    return archive.bytes();
}

}  // namespace tilewise::test

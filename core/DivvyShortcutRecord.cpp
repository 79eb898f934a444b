#include "core/DivvyShortcutRecord.h"

#include <limits>
#include <string>

namespace tilewise {
namespace {

constexpr std::string_view kUntitled = "Untitled";

// The integer keys of a record, read together so that one wrong type fails the whole record.
struct RecordIntegers {
    std::int64_t columns = 0;
    std::int64_t rows = 0;
    std::int64_t startColumn = 0;
    std::int64_t startRow = 0;
    std::int64_t endColumn = 0;
    std::int64_t endRow = 0;
    std::optional<std::int64_t> keyCode;
    std::int64_t keyFlags = 0;
};

std::expected<RecordIntegers, KeyedArchiveError> readIntegers(const KeyedArchive& archive,
                                                              const PropertyList& object) {
    RecordIntegers values;
    const std::pair<std::string_view, std::int64_t*> targets[] = {
        {"sizeColumns", &values.columns},
        {"sizeRows", &values.rows},
        {"selectionStartColumn", &values.startColumn},
        {"selectionStartRow", &values.startRow},
        {"selectionEndColumn", &values.endColumn},
        {"selectionEndRow", &values.endRow},
        {"keyComboFlags", &values.keyFlags}};
    for (const auto& [key, target] : targets) {
        const auto value = archive.integer(object, key);
        if (!value)
            return std::unexpected(value.error());
        *target = value->value_or(0);
    }
    const auto keyCode = archive.integer(object, "keyComboCode");
    if (!keyCode)
        return std::unexpected(keyCode.error());
    values.keyCode = *keyCode;
    return values;
}

// Divvy's flags already use the event-flag bits; constructing the modifiers drops the
// caps-lock, function-key and device bits. A code outside the key-code range or negative
// flags mean no usable shortcut, but the layout itself still imports.
std::optional<KeyCombo> shortcutOf(const RecordIntegers& values) {
    if (!values.keyCode || *values.keyCode < 0 ||
        *values.keyCode > std::numeric_limits<std::uint16_t>::max() || values.keyFlags < 0)
        return std::nullopt;
    return KeyCombo{static_cast<std::uint16_t>(*values.keyCode),
                    Modifiers{static_cast<std::uint64_t>(values.keyFlags)}};
}

// A subdivided Divvy shortcut addresses a grid twice as fine on both axes as the one it stores.
GridSize gridOf(const RecordIntegers& values, bool subdivided) {
    const auto scale = [&](std::int64_t count) {
        const bool doublable = count >= 0 && count <= GridSize::maximum;
        return subdivided && doublable ? count * 2 : count;
    };
    return GridSize{scale(values.columns), scale(values.rows)};
}

}  // namespace

std::expected<DivvyShortcutRecord, KeyedArchiveError> DivvyShortcutRecord::decode(
    const KeyedArchive& archive, const PropertyList& object) {
    const auto name = archive.string(object, "nameKey");
    const auto values = readIntegers(archive, object);
    const auto enabled = archive.boolean(object, "enabled");
    const auto global = archive.boolean(object, "global");
    const auto subdivided = archive.boolean(object, "subdivided");
    if (!name)
        return std::unexpected(name.error());
    if (!values)
        return std::unexpected(values.error());
    if (!enabled || !global || !subdivided)
        return std::unexpected(KeyedArchiveError::malformed);

    const GridSize grid = gridOf(*values, subdivided->value_or(false));
    const CellSelection selection{values->startColumn, values->startRow, values->endColumn,
                                  values->endRow};
    if (!selection.isValid(grid))
        return DivvyShortcutRecord{std::nullopt};
    return DivvyShortcutRecord{SavedLayout{
        .id = Uuid::random(),
        .name = name->value_or(std::string{kUntitled}),
        .enabled = enabled->value_or(false),
        .isGlobal = global->value_or(false),
        .shortcut = shortcutOf(*values),
        .grid = grid,
        .selection = selection,
    }};
}

}  // namespace tilewise

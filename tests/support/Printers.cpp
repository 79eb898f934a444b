#include "tests/support/Printers.h"

namespace tilewise {

void PrintTo(const Point& value, std::ostream* os) {
    *os << "(" << value.x << ", " << value.y << ")";
}

void PrintTo(const Rect& value, std::ostream* os) {
    *os << "(" << value.origin.x << ", " << value.origin.y << ", " << value.size.width << " x "
        << value.size.height << ")";
}

void PrintTo(const GridCell& value, std::ostream* os) {
    *os << "cell(column " << value.column << ", row " << value.row << ")";
}

void PrintTo(const GridSize& value, std::ostream* os) {
    *os << value.columns << "x" << value.rows;
}

void PrintTo(const CellSelection& value, std::ostream* os) {
    *os << "selection(" << value.startColumn() << ", " << value.startRow() << ")-("
        << value.endColumn() << ", " << value.endRow() << ")";
}

void PrintTo(const NormalizedRect& value, std::ostream* os) {
    *os << "normalized(" << value.minX << ", " << value.minY << ", " << value.maxX << ", "
        << value.maxY << ")";
}

void PrintTo(const LayoutError& value, std::ostream* os) {
    static constexpr const char* kNames[] = {"invalidGrid", "selectionOutsideGrid",
                                             "invalidMargins", "marginsTooLarge"};
    const auto index = static_cast<std::size_t>(value);
    if (index < std::size(kNames))
        *os << kNames[index];
    else
        *os << "LayoutError(" << index << ")";
}

void PrintTo(const DisplayInfo& value, std::ostream* os) {
    *os << "display " << value.id << " frame ";
    PrintTo(value.frame, os);
    *os << " visible ";
    PrintTo(value.visibleFrame, os);
    *os << " scale " << value.backingScale;
}

void PrintTo(const FrameOutcome& value, std::ostream* os) {
    switch (value.kind()) {
        case FrameOutcome::Kind::exact:
            *os << "exact";
            return;
        case FrameOutcome::Kind::constrained:
            *os << "constrained";
            break;
        case FrameOutcome::Kind::rejected:
            *os << "rejected";
            break;
    }
    if (value.actual()) {
        *os << " ";
        PrintTo(*value.actual(), os);
    }
}

void PrintTo(const Uuid& value, std::ostream* os) {
    *os << value.string();
}

void PrintTo(const Modifiers& value, std::ostream* os) {
    *os << "modifiers(0x" << std::hex << value.rawValue() << std::dec << " " << value.symbols()
        << ")";
}

void PrintTo(const KeyCombo& value, std::ostream* os) {
    *os << "key " << value.keyCode << " ";
    PrintTo(value.modifiers, os);
}

void PrintTo(KeyCombo::Problem value, std::ostream* os) {
    *os << description(value);
}

void PrintTo(const SettingsIssue& value, std::ostream* os) {
    *os << value.description();
}

void PrintTo(const SettingsCodingError& value, std::ostream* os) {
    *os << value.description();
}

void PrintTo(const TilewiseSettings& value, std::ostream* os) {
    const auto encoded = SettingsCoder::encode(value);
    *os << (encoded ? *encoded : encoded.error().description());
}

}  // namespace tilewise

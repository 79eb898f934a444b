#pragma once

#include <expected>
#include <ostream>

#include <gtest/gtest-printers.h>

#include "core/CyclingTracker.h"
#include "core/FrameComparison.h"
#include "core/Grid.h"
#include "core/KeyCombo.h"
#include "core/LayoutEngine.h"
#include "core/Settings.h"
#include "core/SettingsCoder.h"

// GoogleTest finds these through argument-dependent lookup, so failures show values, not bytes.
namespace tilewise {

void PrintTo(const Point& value, std::ostream* os);
void PrintTo(const Rect& value, std::ostream* os);
void PrintTo(const GridCell& value, std::ostream* os);
void PrintTo(const GridSize& value, std::ostream* os);
void PrintTo(const CellSelection& value, std::ostream* os);
void PrintTo(const NormalizedRect& value, std::ostream* os);
void PrintTo(const LayoutError& value, std::ostream* os);
void PrintTo(const DisplayInfo& value, std::ostream* os);
void PrintTo(const FrameOutcome& value, std::ostream* os);
void PrintTo(const Uuid& value, std::ostream* os);
void PrintTo(const Modifiers& value, std::ostream* os);
void PrintTo(const KeyCombo& value, std::ostream* os);
void PrintTo(KeyCombo::Problem value, std::ostream* os);
void PrintTo(const SettingsIssue& value, std::ostream* os);
void PrintTo(const SettingsCodingError& value, std::ostream* os);
void PrintTo(const TilewiseSettings& value, std::ostream* os);

/// A result prints as its value or as its error, whichever it holds.
template <typename T, typename E>
void PrintTo(const std::expected<T, E>& value, std::ostream* os) {
    if (value) {
        *os << testing::PrintToString(*value);
    } else {
        *os << "error: " << testing::PrintToString(value.error());
    }
}

}  // namespace tilewise

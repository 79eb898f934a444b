#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/KeyCombo.h"
#include "tests/support/PlistBuilders.h"

namespace tilewise::test {

/// One shortcut as Divvy archives it.
struct ArchivedShortcut {
    std::string name;
    std::optional<KeyCombo> shortcut;
    bool enabled = true;
    bool global = true;
    std::int64_t columns = 6;
};

/// Divvy's keyed archive of `shortcuts`, as it stores it under "shortcuts".
Bytes divvyArchive(const std::vector<ArchivedShortcut>& shortcuts);

}  // namespace tilewise::test

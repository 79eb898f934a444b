#pragma once

#include <string>
#include <string_view>

#include "core/Settings.h"

namespace tilewise::LayoutLookup {

/// The saved layout whose id is `nameOrID`, else the first one named so; null when none is.
const SavedLayout* find(const TilewiseSettings& settings, std::string_view nameOrID);

/// The sentence for a name or id that matches no saved layout.
std::string notFound(std::string_view nameOrID);

}  // namespace tilewise::LayoutLookup

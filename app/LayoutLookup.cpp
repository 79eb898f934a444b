#include "app/LayoutLookup.h"

#include <algorithm>

namespace tilewise::LayoutLookup {

const SavedLayout* find(const TilewiseSettings& settings, std::string_view nameOrID) {
    const auto& layouts = settings.layouts;
    const auto id = Uuid::parse(nameOrID);
    auto found = std::find_if(layouts.begin(), layouts.end(),
                              [&](const SavedLayout& layout) { return id && layout.id == *id; });
    if (found == layouts.end()) {
        found = std::find_if(layouts.begin(), layouts.end(),
                             [&](const SavedLayout& layout) { return layout.name == nameOrID; });
    }
    return found == layouts.end() ? nullptr : &*found;
}

std::string notFound(std::string_view nameOrID) {
    return "tilewise: there is no saved layout “" + std::string{nameOrID} + "”";
}

}  // namespace tilewise::LayoutLookup

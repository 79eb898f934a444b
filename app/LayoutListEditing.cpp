#include "app/LayoutListEditing.h"

#include <algorithm>

namespace tilewise::LayoutListEditing {

Uuid add(TilewiseSettings& settings, Uuid id) {
    settings.layouts.push_back(SavedLayout{
        .id = id,
        .name = "New Layout",
        .enabled = true,
        .isGlobal = true,
        .shortcut = std::nullopt,
        .grid = settings.grid,
        .selection = CellSelection::full(settings.grid),
    });
    return id;
}

std::optional<Uuid> remove(TilewiseSettings& settings, std::optional<Uuid> selected) {
    if (selected) {
        std::erase_if(settings.layouts,
                      [&](const SavedLayout& layout) { return layout.id == *selected; });
    }
    if (settings.layouts.empty())
        return std::nullopt;
    return settings.layouts.front().id;
}

bool move(TilewiseSettings& settings, std::size_t first, std::size_t count,
          std::size_t destination) {
    auto& layouts = settings.layouts;
    const auto size = layouts.size();
    if (count == 0 || first >= size || count > size - first || destination > size)
        return false;
    if (destination >= first && destination <= first + count)
        return false;
    const auto begin = layouts.begin();
    if (destination < first) {
        std::rotate(begin + destination, begin + first, begin + first + count);
    } else {
        std::rotate(begin + first, begin + first + count, begin + destination);
    }
    return true;
}

bool setGridDimension(SavedLayout& layout, GridDimension dimension, std::int64_t value) {
    auto grid = layout.grid;
    (dimension == GridDimension::columns ? grid.columns : grid.rows) = value;
    if (!grid.isValid())
        return false;
    const auto& selection = layout.selection;
    layout.grid = grid;
    layout.selection = CellSelection(grid.clamp({selection.startColumn(), selection.startRow()}),
                                     grid.clamp({selection.endColumn(), selection.endRow()}));
    return true;
}

SavedLayout* find(TilewiseSettings& settings, const Uuid& id) {
    const auto found = std::ranges::find(settings.layouts, id, &SavedLayout::id);
    return found == settings.layouts.end() ? nullptr : &*found;
}

const SavedLayout* find(const TilewiseSettings& settings, const Uuid& id) {
    const auto found = std::ranges::find(settings.layouts, id, &SavedLayout::id);
    return found == settings.layouts.end() ? nullptr : &*found;
}

}  // namespace tilewise::LayoutListEditing

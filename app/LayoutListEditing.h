#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/Settings.h"
#include "core/Uuid.h"

namespace tilewise {

/// The edits of the saved-layouts list in the preferences, as operations on a settings value
/// that the caller then assigns to the store in one piece.
namespace LayoutListEditing {

enum class GridDimension { columns, rows };

/// Appends an enabled, global "New Layout" without shortcut covering the whole of the
/// settings' grid, and returns its id.
Uuid add(TilewiseSettings& settings, Uuid id = Uuid::random());

/// Removes every layout with id `selected` and returns the id to select next: the first
/// remaining layout (not the removed one's neighbour), or none when the list is empty.
std::optional<Uuid> remove(TilewiseSettings& settings, std::optional<Uuid> selected);

/// Moves `count` layouts starting at `first` in front of the layout at `destination`, counted
/// before the move (as a list view's drop reports it; the list's size moves them to the end).
/// False, with nothing changed, when the rows are out of range or the move would not change the
/// order.
bool move(TilewiseSettings& settings, std::size_t first, std::size_t count,
          std::size_t destination);

/// Sets one dimension of the layout's grid and clamps its selection into the new grid, so a
/// selection beyond the new edge shrinks to the last column or row. False, with nothing
/// changed, when the grid would not be valid.
bool setGridDimension(SavedLayout& layout, GridDimension dimension, std::int64_t value);

/// The layout with `id`, or null.
SavedLayout* find(TilewiseSettings& settings, const Uuid& id);
const SavedLayout* find(const TilewiseSettings& settings, const Uuid& id);

}  // namespace LayoutListEditing
}  // namespace tilewise

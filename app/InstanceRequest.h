#pragma once

#include <optional>
#include <string>
#include <variant>

#include "core/Grid.h"
#include "core/Settings.h"

namespace tilewise {

/// `tilewise apply NAME|ID`: a saved layout, found by its id or else by its name.
struct ApplyLayoutRequest {
    std::string layout;
    bool operator==(const ApplyLayoutRequest&) const = default;
};
/// `tilewise place`: cells of a grid; the display by the settings unless given.
struct PlaceCellsRequest {
    GridSize grid;
    CellSelection cells{0, 0, 0, 0};
    std::optional<PanelPlacement> display;
    bool operator==(const PlaceCellsRequest&) const = default;
};
struct ShowGridRequest {
    bool operator==(const ShowGridRequest&) const = default;
};
struct ShowPreferencesRequest {
    bool operator==(const ShowPreferencesRequest&) const = default;
};

/// What one `tilewise` process asks of the running instance.
using InstanceRequest =
    std::variant<ApplyLayoutRequest, PlaceCellsRequest, ShowGridRequest, ShowPreferencesRequest>;

}  // namespace tilewise

#include "cli/PlaceCommand.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

#include "app/SettingsPathOption.h"

namespace tilewise {
namespace {

const std::string kPlaceUsage =
    "Usage: tilewise place --grid COLUMNSxROWS --cells C,R:C,R [--display under-mouse|window]";
const std::string kApplyUsage = "Usage: tilewise apply NAME|ID";

std::optional<std::int64_t> parseInteger(std::string_view text) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// "A<separator>B" as two integers.
std::optional<std::pair<std::int64_t, std::int64_t>> parsePair(std::string_view text,
                                                               char separator) {
    const auto split = text.find(separator);
    if (split == std::string_view::npos) {
        return std::nullopt;
    }
    const auto first = parseInteger(text.substr(0, split));
    const auto second = parseInteger(text.substr(split + 1));
    if (!first || !second) {
        return std::nullopt;
    }
    return std::pair{*first, *second};
}

std::optional<CellSelection> parseCells(std::string_view text) {
    const auto split = text.find(':');
    if (split == std::string_view::npos) {
        return std::nullopt;
    }
    const auto from = parsePair(text.substr(0, split), ',');
    const auto to = parsePair(text.substr(split + 1), ',');
    if (!from || !to) {
        return std::nullopt;
    }
    return CellSelection{GridCell{from->first, from->second}, GridCell{to->first, to->second}};
}

std::optional<PanelPlacement> parseDisplay(std::string_view text) {
    if (text == "under-mouse")
        return PanelPlacement::displayUnderMouse;
    if (text == "window")
        return PanelPlacement::displayWithTargetWindow;
    return std::nullopt;
}

struct PlaceOptions {
    std::optional<GridSize> grid;
    std::optional<CellSelection> cells;
    std::optional<PanelPlacement> display;
};

std::optional<PlaceOptions> parsePlaceOptions(const std::vector<std::string>& arguments) {
    PlaceOptions options;
    for (std::size_t i = 0; i + 1 < arguments.size(); i += 2) {
        const std::string_view option = arguments[i];
        const std::string_view value = arguments[i + 1];
        if (option == "--grid") {
            const auto size = parsePair(value, 'x');
            if (!size)
                return std::nullopt;
            options.grid = GridSize{size->first, size->second};
        } else if (option == "--cells") {
            if (!(options.cells = parseCells(value)))
                return std::nullopt;
        } else if (option == "--display") {
            if (!(options.display = parseDisplay(value)))
                return std::nullopt;
        } else if (!SettingsPathOption::isFlag(option)) {
            return std::nullopt;
        }
    }
    if (arguments.size() % 2 != 0 || !options.grid || !options.cells) {
        return std::nullopt;
    }
    return options;
}

}  // namespace

std::expected<InstanceRequest, CommandReply> parsePlace(const std::vector<std::string>& arguments) {
    const auto options = parsePlaceOptions(arguments);
    if (!options) {
        return std::unexpected(CommandReply::failed(kPlaceUsage, ExitStatus::usage));
    }
    return PlaceCellsRequest{*options->grid, *options->cells, options->display};
}

std::expected<InstanceRequest, CommandReply> parseApply(const std::vector<std::string>& arguments) {
    const bool withPath = arguments.size() == 3 && SettingsPathOption::isFlag(arguments[1]);
    if (arguments.size() != 1 && !withPath) {
        return std::unexpected(CommandReply::failed(kApplyUsage, ExitStatus::usage));
    }
    return ApplyLayoutRequest{arguments.front()};
}

std::expected<InstanceRequest, CommandReply> parseShowGrid(
    const std::vector<std::string>& arguments) {
    if (!arguments.empty()) {
        return std::unexpected(
            CommandReply::failed("Usage: tilewise show-grid", ExitStatus::usage));
    }
    return ShowGridRequest{};
}

}  // namespace tilewise

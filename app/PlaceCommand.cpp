#include "app/PlaceCommand.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <optional>
#include <string_view>

#include "app/FrontmostPlacement.h"
#include "app/SettingsFile.h"
#include "app/SettingsStore.h"

namespace tilewise {
namespace {

constexpr int kFailed = 1;
constexpr int kUsageError = 2;
constexpr std::string_view kPlaceUsage =
    "Usage: tilewise place --grid COLUMNSxROWS --cells C,R:C,R [--display under-mouse|window]\n";
constexpr std::string_view kApplyUsage = "Usage: tilewise apply NAME|ID\n";

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

bool isSettingsPathOption(std::string_view argument) {
    return argument == "-" + std::string{SettingsStore::kPathOverrideKey};
}

// A missing file means the defaults, as at a first run; a file that would be rejected, or that
// is there but cannot be read, stops the command instead: a one-off command must not repair the
// settings, nor pretend they are the defaults.
std::optional<TilewiseSettings> readSettings(const std::vector<std::string>& arguments,
                                             std::ostream& err) {
    const auto path = SettingsStore::defaultURL(arguments);
    auto settings = SettingsFile::readOrDefaults(path);
    if (settings)
        return std::move(*settings);
    if (settings.error().kind == SettingsFile::Failure::Kind::undecodable)
        err << "tilewise: the settings file “" << path.string() << "” cannot be used. ";
    else
        err << "tilewise: ";
    err << settings.error().description << "\n";
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
        } else if (!isSettingsPathOption(option)) {
            return std::nullopt;
        }
    }
    if (arguments.size() % 2 != 0 || !options.grid || !options.cells) {
        return std::nullopt;
    }
    return options;
}

const SavedLayout* findLayout(const TilewiseSettings& settings, std::string_view nameOrID) {
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

}  // namespace

int runPlace(const std::vector<std::string>& arguments, DesktopSession& session, std::ostream& out,
             std::ostream& err) {
    const auto options = parsePlaceOptions(arguments);
    if (!options) {
        err << kPlaceUsage;
        return kUsageError;
    }
    const auto settings = readSettings(arguments, err);
    if (!settings) {
        return kFailed;
    }
    const PlacementRequest request{*options->cells, *options->grid,
                                   options->display.value_or(settings->panelPlacement),
                                   settings->margins};
    return placeFrontmostWindow(request, session, out, err);
}

int runApply(const std::vector<std::string>& arguments, DesktopSession& session, std::ostream& out,
             std::ostream& err) {
    const bool withPath = arguments.size() == 3 && isSettingsPathOption(arguments[1]);
    if (arguments.size() != 1 && !withPath) {
        err << kApplyUsage;
        return kUsageError;
    }
    const auto settings = readSettings(arguments, err);
    if (!settings) {
        return kFailed;
    }
    const SavedLayout* layout = findLayout(*settings, arguments.front());
    if (layout == nullptr) {
        err << "tilewise: there is no saved layout “" << arguments.front() << "”\n";
        return kFailed;
    }
    const PlacementRequest request{layout->selection, layout->grid, settings->panelPlacement,
                                   settings->margins};
    return placeFrontmostWindow(request, session, out, err);
}

}  // namespace tilewise

#include "app/InstanceProtocol.h"

#include <nlohmann/json.hpp>

namespace tilewise::InstanceProtocol {
namespace {

using Json = nlohmann::json;

constexpr std::string_view kUnderMouse = "under-mouse";
constexpr std::string_view kWindow = "window";

// Text that is not UTF-8 (a window title, a file name) goes out with replacement characters
// rather than failing the whole line.
std::string line(const Json& object) {
    return object.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

Json encodeRequest(const ApplyLayoutRequest& request) {
    return {{"request", "apply"}, {"layout", request.layout}};
}
Json encodeRequest(const PlaceCellsRequest& request) {
    const auto& cells = request.cells;
    Json object{
        {"request", "place"},
        {"grid", {request.grid.columns, request.grid.rows}},
        {"cells", {cells.startColumn(), cells.startRow(), cells.endColumn(), cells.endRow()}}};
    if (request.display) {
        object["display"] =
            *request.display == PanelPlacement::displayUnderMouse ? kUnderMouse : kWindow;
    }
    return object;
}
Json encodeRequest(const ShowGridRequest&) {
    return {{"request", "show-grid"}};
}
Json encodeRequest(const ShowPreferencesRequest&) {
    return {{"request", "show-preferences"}};
}

// The member's text, or empty when it is missing or not text.
std::string textOf(const Json& object, const char* key) {
    const auto found = object.find(key);
    return found != object.end() && found->is_string() ? found->get<std::string>() : "";
}

// A whole number in [0, `largest`], or nothing.
std::optional<std::int64_t> wholeNumber(const Json& value, std::int64_t largest) {
    if (!value.is_number())
        return std::nullopt;
    const double number = value.get<double>();
    if (number < 0 || number > static_cast<double>(largest) ||
        number != static_cast<double>(static_cast<std::int64_t>(number)))
        return std::nullopt;
    return static_cast<std::int64_t>(number);
}

// `count` whole numbers that fit a grid index, or nothing.
std::optional<std::vector<std::int64_t>> integers(const Json& object, const char* key,
                                                  std::size_t count) {
    const auto found = object.find(key);
    if (found == object.end() || !found->is_array() || found->size() != count)
        return std::nullopt;
    std::vector<std::int64_t> numbers;
    for (const auto& element : *found) {
        const auto number = wholeNumber(element, 1000);
        if (!number)
            return std::nullopt;
        numbers.push_back(*number);
    }
    return numbers;
}

std::expected<InstanceRequest, std::string> decodePlace(const Json& object) {
    const auto grid = integers(object, "grid", 2);
    const auto cells = integers(object, "cells", 4);
    if (!grid || !cells) {
        return std::unexpected("“place” needs a grid [columns, rows] and cells [c, r, c, r]");
    }
    PlaceCellsRequest request{GridSize{(*grid)[0], (*grid)[1]},
                              CellSelection{(*cells)[0], (*cells)[1], (*cells)[2], (*cells)[3]},
                              std::nullopt};
    if (object.contains("display")) {
        const auto display = textOf(object, "display");
        if (display != kUnderMouse && display != kWindow) {
            return std::unexpected("unknown display “" + display + "”");
        }
        request.display = display == kUnderMouse ? PanelPlacement::displayUnderMouse
                                                 : PanelPlacement::displayWithTargetWindow;
    }
    return request;
}

std::expected<Json, std::string> object(std::string_view line) {
    if (line.size() > kMaxLineLength) {
        return std::unexpected("the line is longer than " + std::to_string(kMaxLineLength) +
                               " bytes");
    }
    auto document = Json::parse(line, nullptr, false);
    if (document.is_discarded() || !document.is_object()) {
        return std::unexpected("the line is not a JSON object");
    }
    return document;
}

}  // namespace

std::string encode(const InstanceRequest& request) {
    return line(std::visit([](const auto& value) { return encodeRequest(value); }, request));
}

std::string encode(const CommandReply& reply) {
    return line({{"status", reply.exitStatus}, {"output", reply.output}, {"error", reply.error}});
}

std::expected<InstanceRequest, std::string> decodeRequest(std::string_view line) {
    const auto decoded = object(line);
    if (!decoded) {
        return std::unexpected(decoded.error());
    }
    const auto name = textOf(*decoded, "request");
    if (name == "apply") {
        const auto layout = textOf(*decoded, "layout");
        if (layout.empty()) {
            return std::unexpected("“apply” needs the name or id of a layout");
        }
        return ApplyLayoutRequest{layout};
    }
    if (name == "place") {
        return decodePlace(*decoded);
    }
    if (name == "show-grid") {
        return ShowGridRequest{};
    }
    if (name == "show-preferences") {
        return ShowPreferencesRequest{};
    }
    return std::unexpected("unknown request “" + name + "”");
}

std::expected<CommandReply, std::string> decodeReply(std::string_view line) {
    const auto decoded = object(line);
    if (!decoded) {
        return std::unexpected(decoded.error());
    }
    const auto found = decoded->find("status");
    const auto status = found != decoded->end() ? wholeNumber(*found, 255) : std::nullopt;
    if (!status) {
        return std::unexpected("the reply has no exit status");
    }
    return CommandReply{static_cast<int>(*status), textOf(*decoded, "output"),
                        textOf(*decoded, "error")};
}

}  // namespace tilewise::InstanceProtocol

#include "app/InstanceProtocol.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace tilewise::InstanceProtocol {
namespace {

constexpr std::string_view kUnderMouse = "under-mouse";
constexpr std::string_view kWindow = "window";

QString text(std::string_view value) {
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

std::string line(const QJsonObject& object) {
    return QJsonDocument{object}.toJson(QJsonDocument::Compact).toStdString() + "\n";
}

QJsonObject encodeRequest(const ApplyLayoutRequest& request) {
    return {{"request", "apply"}, {"layout", text(request.layout)}};
}
QJsonObject encodeRequest(const PlaceCellsRequest& request) {
    const auto& cells = request.cells;
    QJsonObject object{
        {"request", "place"},
        {"grid", QJsonArray{qint64{request.grid.columns}, qint64{request.grid.rows}}},
        {"cells", QJsonArray{qint64{cells.startColumn()}, qint64{cells.startRow()},
                             qint64{cells.endColumn()}, qint64{cells.endRow()}}}};
    if (request.display) {
        object["display"] =
            text(*request.display == PanelPlacement::displayUnderMouse ? kUnderMouse : kWindow);
    }
    return object;
}
QJsonObject encodeRequest(const ShowGridRequest&) {
    return {{"request", "show-grid"}};
}
QJsonObject encodeRequest(const ShowPreferencesRequest&) {
    return {{"request", "show-preferences"}};
}

// `count` whole numbers that fit a grid index, or nothing.
std::optional<std::vector<std::int64_t>> integers(const QJsonValue& value, qsizetype count) {
    if (!value.isArray() || value.toArray().size() != count) {
        return std::nullopt;
    }
    std::vector<std::int64_t> numbers;
    for (const auto& element : value.toArray()) {
        const double number = element.toDouble(-1);
        if (!element.isDouble() || number < 0 || number > 1000 || number != element.toInteger()) {
            return std::nullopt;
        }
        numbers.push_back(element.toInteger());
    }
    return numbers;
}

std::expected<InstanceRequest, std::string> decodePlace(const QJsonObject& object) {
    const auto grid = integers(object["grid"], 2);
    const auto cells = integers(object["cells"], 4);
    if (!grid || !cells) {
        return std::unexpected("“place” needs a grid [columns, rows] and cells [c, r, c, r]");
    }
    PlaceCellsRequest request{GridSize{(*grid)[0], (*grid)[1]},
                              CellSelection{(*cells)[0], (*cells)[1], (*cells)[2], (*cells)[3]},
                              std::nullopt};
    if (object.contains("display")) {
        const auto display = object["display"].toString().toStdString();
        if (display != kUnderMouse && display != kWindow) {
            return std::unexpected("unknown display “" + display + "”");
        }
        request.display = display == kUnderMouse ? PanelPlacement::displayUnderMouse
                                                 : PanelPlacement::displayWithTargetWindow;
    }
    return request;
}

std::expected<QJsonObject, std::string> object(std::string_view line) {
    if (line.size() > kMaxLineLength) {
        return std::unexpected("the line is longer than " + std::to_string(kMaxLineLength) +
                               " bytes");
    }
    QJsonParseError error;
    const auto document = QJsonDocument::fromJson(
        QByteArray(line.data(), static_cast<qsizetype>(line.size())), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        return std::unexpected("the line is not a JSON object");
    }
    return document.object();
}

}  // namespace

std::string encode(const InstanceRequest& request) {
    return line(std::visit([](const auto& value) { return encodeRequest(value); }, request));
}

std::string encode(const CommandReply& reply) {
    return line({{"status", reply.exitStatus},
                 {"output", text(reply.output)},
                 {"error", text(reply.error)}});
}

std::expected<InstanceRequest, std::string> decodeRequest(std::string_view line) {
    const auto decoded = object(line);
    if (!decoded) {
        return std::unexpected(decoded.error());
    }
    const auto name = (*decoded)["request"].toString().toStdString();
    if (name == "apply") {
        const auto layout = (*decoded)["layout"];
        if (!layout.isString() || layout.toString().isEmpty()) {
            return std::unexpected("“apply” needs the name or id of a layout");
        }
        return ApplyLayoutRequest{layout.toString().toStdString()};
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
    const auto status = (*decoded)["status"];
    if (!status.isDouble() || status.toDouble() != status.toInt(-1) || status.toInt() < 0 ||
        status.toInt() > 255) {
        return std::unexpected("the reply has no exit status");
    }
    return CommandReply{status.toInt(), (*decoded)["output"].toString().toStdString(),
                        (*decoded)["error"].toString().toStdString()};
}

}  // namespace tilewise::InstanceProtocol

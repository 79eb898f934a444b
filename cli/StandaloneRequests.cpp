#include "cli/StandaloneRequests.h"

#include <filesystem>
#include <optional>
#include <utility>

#include "app/Files.h"
#include "app/LayoutLookup.h"
#include "app/SettingsStore.h"
#include "core/SettingsCoder.h"

namespace tilewise {
namespace {

const std::string kNeedsApplication =
    "tilewise: Tilewise is not running; start it with “tilewise” first";

}  // namespace

StandaloneRequests::StandaloneRequests(DesktopSession& session, TilewiseSettings settings)
    : settings_(std::move(settings)),
      displays_(session.platform().screens()),
      windows_(session.platform().accessibility(), session.platform().workspace(),
               session.mainQueue(), session.makeSerialQueue()),
      placement_(windows_, displays_, cycling_, [this] { return settings_; }) {}

CommandReply StandaloneRequests::serve(const InstanceRequest& request, DesktopSession& session,
                                       const TilewiseSettings& settings) {
    StandaloneRequests handler{session, settings};
    std::optional<CommandReply> answer;
    handler.handle(request, [&answer](CommandReply reply) { answer = std::move(reply); });
    session.runUntil([&answer] { return answer.has_value(); });
    return std::move(*answer);
}

std::expected<TilewiseSettings, CommandReply> StandaloneRequests::readSettings(
    const std::vector<std::string>& arguments) {
    const auto path = SettingsStore::defaultURL(arguments);
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored)) {
        return TilewiseSettings::defaults();
    }
    const auto bytes = Files::readAll(path);
    if (!bytes) {
        return std::unexpected(CommandReply::failed("tilewise: the settings file “" +
                                                    path.string() +
                                                    "” could not be read: " + bytes.error()));
    }
    auto settings = SettingsCoder::decode(*bytes);
    if (!settings) {
        return std::unexpected(CommandReply::failed("tilewise: the settings file “" +
                                                    path.string() + "” cannot be used. " +
                                                    settings.error().description()));
    }
    return std::move(*settings);
}

void StandaloneRequests::applyLayout(const ApplyLayoutRequest& request, Reply reply) {
    const SavedLayout* layout = LayoutLookup::find(settings_, request.layout);
    if (layout == nullptr) {
        reply(CommandReply::failed(LayoutLookup::notFound(request.layout)));
        return;
    }
    place({layout->selection, layout->grid, layout->id, std::nullopt}, std::move(reply));
}

void StandaloneRequests::placeCells(const PlaceCellsRequest& request, Reply reply) {
    place({request.cells, request.grid, std::nullopt, request.display}, std::move(reply));
}

void StandaloneRequests::showGrid(Reply reply) {
    reply(CommandReply::failed(kNeedsApplication));
}

void StandaloneRequests::showPreferences(Reply reply) {
    reply(CommandReply::failed(kNeedsApplication));
}

void StandaloneRequests::place(const PlacementRequest& request, Reply reply) {
    placement_.placeFrontmost(
        request, [reply = std::move(reply)](PlacementOutcome outcome) { reply(outcome.reply()); });
}

}  // namespace tilewise

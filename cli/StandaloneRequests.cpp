#include "cli/StandaloneRequests.h"

#include <optional>
#include <utility>

#include "app/LayoutLookup.h"
#include "app/SettingsFile.h"
#include "app/SettingsStore.h"

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

// A missing file means the defaults, as at a first run; a file that would be rejected, or that
// is there but cannot be read, stops the command instead: a one-off command must not repair the
// settings, nor pretend they are the defaults.
std::expected<TilewiseSettings, CommandReply> StandaloneRequests::readSettings(
    const std::vector<std::string>& arguments) {
    const auto path = SettingsStore::defaultURL(arguments);
    auto settings = SettingsFile::readOrDefaults(path);
    if (settings)
        return std::move(*settings);
    const auto& failure = settings.error();
    if (failure.kind == SettingsFile::Failure::Kind::undecodable)
        return std::unexpected(CommandReply::failed("tilewise: the settings file “" +
                                                    path.string() + "” cannot be used. " +
                                                    failure.description));
    return std::unexpected(CommandReply::failed("tilewise: " + failure.description));
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

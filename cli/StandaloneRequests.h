#pragma once

#include <expected>
#include <string>
#include <vector>

#include "app/DesktopSession.h"
#include "app/DisplayProvider.h"
#include "app/InstanceRequestHandler.h"
#include "app/WindowController.h"
#include "app/WindowPlacement.h"
#include "core/CyclingTracker.h"
#include "core/Settings.h"

namespace tilewise {

/// Serves a command's request in this process when no instance runs: the application's
/// placement path on a session of its own. A single command has no history, so it never
/// cycles displays; the grid and the preferences need the running application.
class StandaloneRequests final : public InstanceRequestHandler {
  public:
    StandaloneRequests(DesktopSession& session, TilewiseSettings settings);

    /// Serves `request` and runs the session's loop until it is answered.
    static CommandReply serve(const InstanceRequest& request, DesktopSession& session,
                              const TilewiseSettings& settings);

    /// The settings a command works with: the file of `-TilewiseSettingsPath` among the
    /// arguments or the default one, the defaults when it does not exist. A file that would be
    /// rejected stops the command instead of being set aside: a one-off command must not
    /// repair the settings.
    static std::expected<TilewiseSettings, CommandReply> readSettings(
        const std::vector<std::string>& arguments);

    void applyLayout(const ApplyLayoutRequest& request, Reply reply) override;
    void placeCells(const PlaceCellsRequest& request, Reply reply) override;
    void showGrid(Reply reply) override;
    void showPreferences(Reply reply) override;

  private:
    void place(const PlacementRequest& request, Reply reply);

    TilewiseSettings settings_;
    DisplayProvider displays_;
    WindowController windows_;
    CyclingTracker cycling_;
    WindowPlacement placement_;
};

}  // namespace tilewise

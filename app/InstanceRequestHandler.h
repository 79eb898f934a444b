#pragma once

#include <functional>
#include <string>

#include "app/CommandReply.h"
#include "app/InstanceRequest.h"

namespace tilewise {

/// What serves the requests of other `tilewise` processes: the running application's
/// coordinator, or this process itself when no instance runs. Called on the main thread; each
/// request is answered by calling `reply` exactly once, at once or later on the main thread.
class InstanceRequestHandler {
  public:
    using Reply = std::function<void(CommandReply)>;

    virtual ~InstanceRequestHandler() = default;

    /// A saved layout (by id, else by name) on the frontmost window, as its shortcut would.
    virtual void applyLayout(const ApplyLayoutRequest& request, Reply reply) = 0;
    /// Cells of a grid on the frontmost window with the settings' margins.
    virtual void placeCells(const PlaceCellsRequest& request, Reply reply) = 0;
    virtual void showGrid(Reply reply) = 0;
    virtual void showPreferences(Reply reply) = 0;

    /// Calls the operation for `request`.
    void handle(const InstanceRequest& request, Reply reply);
};

}  // namespace tilewise

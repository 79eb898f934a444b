#pragma once

#include <chrono>
#include <optional>

#include "app/CommandReply.h"
#include "app/InstanceLocation.h"
#include "app/InstanceRequest.h"

namespace tilewise {

/// Sends one request to the instance listening at `location` and waits for its reply. Nothing
/// when no instance listens there (the caller then does the work itself); a failure reply when
/// one listens but does not answer properly within `timeout`.
std::optional<CommandReply> askRunningInstance(const InstanceLocation& location,
                                               const InstanceRequest& request,
                                               std::chrono::milliseconds timeout);

}  // namespace tilewise

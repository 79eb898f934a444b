#pragma once

#include <X11/Xlib.h>

#include <optional>
#include <string>
#include <vector>

#include "core/Rect.h"
#include "platform/x11/Atoms.h"
#include "platform/x11/Monitors.h"

namespace tilewise::x11 {

/// i3 keeps its bars out of the client list and publishes no work area; it reports the space
/// its workspaces really get on its own socket (`socketPath`, the root's I3_SOCKET_PATH).
/// The usable area of each monitor, in the monitors' order: the rectangle of the workspace i3
/// shows on it. Absent when i3 does not run, does not answer in time, or answers nonsense.
std::optional<std::vector<Rect>> i3WorkspaceAreas(const std::optional<std::string>& socketPath,
                                                  const std::vector<Monitor>& monitors);

}  // namespace tilewise::x11

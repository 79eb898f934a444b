#pragma once

#include <expected>
#include <memory>
#include <string>

#include "platform/Platform.h"
#include "platform/Scheduler.h"

namespace tilewise::x11 {

/// The X11 backend on the display named by DISPLAY; the sentence on failure. `mainQueue` runs
/// on the calling thread.
std::expected<std::unique_ptr<Platform>, std::string> openX11Platform(Scheduler& mainQueue);

}  // namespace tilewise::x11

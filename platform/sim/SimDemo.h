#pragma once

#include <memory>

#include "platform/sim/SimPlatform.h"

namespace tilewise::sim {

/// The desktop `--platform=sim` runs on: a 1440 × 900 display at backing scale 2 with a menu
/// bar and, to its right, a 1920 × 1080 display; the pointer on the first display; the
/// application "Notes" in front with one 800 × 600 window, and the process trusted.
std::unique_ptr<SimPlatform> makeDemoPlatform(Scheduler& mainQueue);

}  // namespace tilewise::sim

#pragma once

#include <vector>

#include "cli/Subcommand.h"

namespace tilewise {

/// The subcommands the running instance can serve (each has `request`), in usage order.
const std::vector<Subcommand>& requestCommands();

}  // namespace tilewise

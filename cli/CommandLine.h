#pragma once

#include <expected>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/DesktopSession.h"
#include "cli/Subcommand.h"

namespace tilewise {

/// Every subcommand, in the order the usage text lists them.
const std::vector<Subcommand>& subcommands();

/// Dispatches `arguments` (without the program name) to a subcommand. A leading
/// `--platform=x11|sim` picks the backend of desktop tools (x11 by default). Requests are served
/// by this process (the running instance is asked before, by `answerThroughRunningInstance`).
/// Prints the usage when no subcommand is given and fails with
/// status 2 for an unknown one.
int runCommandLine(const std::vector<std::string>& arguments, const DesktopLauncher& launcher,
                   std::ostream& out, std::ostream& err);

}  // namespace tilewise

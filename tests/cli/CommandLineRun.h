#pragma once

#include <string>
#include <vector>

#include "cli/CommandLine.h"

namespace tilewise {

/// What one run of the tilewise command line printed and returned.
struct CommandRun {
    int status;
    std::string out;
    std::string err;
};

/// Runs the command line with `arguments` (without the program name). Desktop tools get the
/// session `launcher` opens; without one they fail as on a machine without a desktop.
CommandRun runTilewise(const std::vector<std::string>& arguments,
                       const DesktopLauncher& launcher = {});

}  // namespace tilewise

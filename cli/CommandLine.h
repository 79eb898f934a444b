#pragma once

#include <expected>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/DesktopSession.h"

namespace tilewise {

/// One command-line tool of the tilewise executable. A tool that works on files has `run`; a
/// tool that works on the desktop's windows and displays has `runOnDesktop` and is handed a
/// session on the chosen backend. Both receive the arguments after the subcommand's name and
/// return the process's exit status.
struct Subcommand {
    using FileTool = int (*)(const std::vector<std::string>& arguments, std::ostream& out,
                             std::ostream& err);
    using DesktopTool = int (*)(const std::vector<std::string>& arguments, DesktopSession& session,
                                std::ostream& out, std::ostream& err);

    std::string_view name;
    std::string_view synopsis;
    std::string_view summary;
    FileTool run = nullptr;
    DesktopTool runOnDesktop = nullptr;
};

/// Every subcommand, in the order the usage text lists them.
const std::vector<Subcommand>& subcommands();

/// Dispatches `arguments` (without the program name) to a subcommand. A leading
/// `--platform=x11|sim` picks the backend of desktop tools (x11 by default). Prints the usage
/// when no subcommand is given and fails with status 2 for an unknown one.
int runCommandLine(const std::vector<std::string>& arguments, const DesktopLauncher& launcher,
                   std::ostream& out, std::ostream& err);

}  // namespace tilewise

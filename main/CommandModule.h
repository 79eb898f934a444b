#pragma once

namespace tilewise {

/// The command module's one entry: runs the subcommand that `argv` names, as a program's main
/// would, and returns the exit status.
using CommandModuleEntry = int (*)(int argc, char** argv);
inline constexpr const char* kCommandModuleEntry = "tilewise_run_command";

}  // namespace tilewise

#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tilewise {

/// One command-line tool of the tilewise executable. `run` receives the arguments after the
/// subcommand's name and returns the process's exit status.
struct Subcommand {
    std::string_view name;
    std::string_view synopsis;
    std::string_view summary;
    int (*run)(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
};

/// Every subcommand, in the order the usage text lists them.
const std::vector<Subcommand>& subcommands();

/// Dispatches `arguments` (without the program name) to a subcommand; prints the usage when
/// none is given and fails with status 2 for an unknown one.
int runCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace tilewise

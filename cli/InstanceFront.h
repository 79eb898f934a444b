#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tilewise {

/// Asks the running instance to answer `arguments` (without the program name), before anything
/// heavier than its socket is loaded: a request subcommand, unless it names a settings file of
/// its own that only a process of its own can honour, or a bare start, which shows the running
/// one's preferences. Returns the exit status once the reply is printed as the backend's system
/// words it; nothing when the arguments are no such request or no instance answers, and the
/// caller then runs them itself.
std::optional<int> answerThroughRunningInstance(const std::vector<std::string>& arguments,
                                                std::ostream& out, std::ostream& err);

}  // namespace tilewise

#include <sys/prctl.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "main/OpenDesktop.h"
#include "platform/LogSink.h"
#include "platform/PollScheduler.h"

// The subcommands that no running instance answers (`place` and `apply` on their own,
// `displays`, `check-settings`, …), done by this process alone on a main loop of its own. It
// loads the X libraries but no Qt, whose loading would take most of a one-off command's time.
// The `tilewise` command has just asked the running instance, if any.
int main(int argc, char** argv) {
    // Shown by ps, top and killall under the command's name, not the program's in libexec.
    ::prctl(PR_SET_NAME, "tilewise");
    tilewise::LogSink::install();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return tilewise::runCommandLine(arguments, tilewise::openDesktop<tilewise::PollScheduler>,
                                    std::cout, std::cerr);
}

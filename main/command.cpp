#include <iostream>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/InstanceFront.h"
#include "main/OpenDesktop.h"
#include "platform/LogSink.h"

// The subcommands that no running instance answers (`place` and `apply` on their own,
// `displays`, `check-settings`, …), done by this process alone. It loads Qt's core and the X
// libraries but none of Qt's widgets: a one-off command starts several times faster than the
// desktop program would.
int main(int argc, char** argv) {
    tilewise::LogSink::install();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    // Asked again: an instance may have started since the command asked.
    if (const auto answered =
            tilewise::answerThroughRunningInstance(arguments, std::cout, std::cerr)) {
        return *answered;
    }
    return tilewise::runCommandLine(arguments, tilewise::openDesktop, std::cout, std::cerr);
}

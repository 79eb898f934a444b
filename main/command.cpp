#include <iostream>
#include <string>
#include <type_traits>
#include <vector>

#include "cli/CommandLine.h"
#include "main/CommandModule.h"
#include "main/OpenDesktop.h"
#include "platform/LogSink.h"
#include "platform/PollScheduler.h"

// The subcommands that no running instance answers (`place` and `apply` on their own,
// `displays`, `check-settings`, …), done in the `tilewise` command's process on a main loop of
// its own. The module loads the X libraries but no Qt, whose loading would take most of a
// one-off command's time; the window controller's queue runs on that loop too, as nothing else
// waits for it meanwhile. The command has just asked the running instance, if any.
extern "C" int tilewise_run_command(int argc, char** argv) {
    static_assert(std::is_same_v<decltype(&tilewise_run_command), tilewise::CommandModuleEntry>);
    tilewise::LogSink::install();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return tilewise::runCommandLine(
        arguments, tilewise::openDesktop<tilewise::PollScheduler, tilewise::QueueThread::mainLoop>,
        std::cout, std::cerr);
}

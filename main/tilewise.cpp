#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/ExitStatus.h"
#include "cli/BackendOption.h"
#include "cli/CommandLine.h"
#include "cli/InstanceFront.h"
#include "main/OpenDesktop.h"
#include "platform/ApplicationIdentity.h"
#include "platform/LogSink.h"
#include "platform/PollScheduler.h"

namespace {

// The resident application is the desktop program, which replaces this process: Qt's widgets
// are loaded by it alone.
int runDesktopProgram(char** argv) {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    const auto program = self.parent_path() / TILEWISE_DESKTOP_PROGRAM;
    // What the login item starts is this command, not the program in libexec.
    ::setenv(tilewise::kCommandPathVariable, self.c_str(), 1);
    ::execv(program.c_str(), argv);
    std::cerr << "tilewise: cannot run “" << program.string() << "”: " << std::strerror(errno)
              << "\n";
    return tilewise::ExitStatus::failure;
}

}  // namespace

// The `tilewise` command. What the running instance answers (`apply`, `place`, `show-grid`, a
// second start) it asks from here; the other subcommands, and those with no instance to answer
// them, it does itself on a main loop of its own, without Qt, whose loading would take most of
// a one-off command's time.
int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (const auto answered =
            tilewise::answerThroughRunningInstance(arguments, std::cout, std::cerr)) {
        return *answered;
    }
    if (tilewise::BackendOption::residentBackend(arguments))
        return runDesktopProgram(argv);
    tilewise::LogSink::install();
    return tilewise::runCommandLine(arguments, tilewise::openDesktop<tilewise::PollScheduler>,
                                    std::cout, std::cerr);
}

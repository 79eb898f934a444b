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
#include "cli/InstanceFront.h"
#include "platform/ApplicationIdentity.h"

// The `tilewise` command. What the running instance answers (`apply`, `place`, `show-grid`, a
// second start) it asks from here, in a process that loads no more than the socket and JSON
// need: loading the X libraries alone would take longer than the instance's answer. Everything
// else is done by a program that then replaces this process: the resident application by the
// desktop program (Qt's widgets, the X libraries), a subcommand by the command program, which
// loads no Qt.
int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (const auto answered =
            tilewise::answerThroughRunningInstance(arguments, std::cout, std::cerr)) {
        return *answered;
    }
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    const bool resident = tilewise::BackendOption::residentBackend(arguments).has_value();
    const auto program =
        self.parent_path() / (resident ? TILEWISE_DESKTOP_PROGRAM : TILEWISE_COMMAND_PROGRAM);
    ::setenv(tilewise::kCommandPathVariable, self.c_str(), 1);
    ::execv(program.c_str(), argv);
    std::cerr << "tilewise: cannot run “" << program.string() << "”: " << std::strerror(errno)
              << "\n";
    return tilewise::ExitStatus::failure;
}

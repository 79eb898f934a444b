#include <dlfcn.h>
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
#include "main/CommandModule.h"
#include "platform/ApplicationIdentity.h"

namespace {

int cannotRun(const std::filesystem::path& program, const char* reason) {
    std::cerr << "tilewise: cannot run “" << program.string() << "”: " << reason << "\n";
    return tilewise::ExitStatus::failure;
}

// The resident application: the desktop program replaces this process.
int runDesktop(const std::filesystem::path& self, char** argv) {
    const auto program = self.parent_path() / TILEWISE_DESKTOP_PROGRAM;
    // What the login item starts is this command, not the program in libexec.
    ::setenv(tilewise::kCommandPathVariable, self.c_str(), 1);
    ::execv(program.c_str(), argv);
    return cannotRun(program, std::strerror(errno));
}

// A subcommand: the command module, loaded into this process, which saves starting another.
int runCommand(const std::filesystem::path& self, int argc, char** argv) {
    const auto module = self.parent_path() / TILEWISE_COMMAND_MODULE;
    void* loaded = ::dlopen(module.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (loaded == nullptr)
        return cannotRun(module, ::dlerror());
    const auto entry = reinterpret_cast<tilewise::CommandModuleEntry>(
        ::dlsym(loaded, tilewise::kCommandModuleEntry));
    if (entry == nullptr)
        return cannotRun(module, ::dlerror());
    return entry(argc, argv);
}

}  // namespace

// The `tilewise` command. What the running instance answers (`apply`, `place`, `show-grid`, a
// second start) it asks from here, in a process that has loaded no more than the socket and
// JSON need: loading the X libraries alone would take longer than the instance's answer. The
// other subcommands it does by loading the command module (the X libraries, no Qt); the
// resident application is the desktop program (Qt's widgets), which replaces this process.
int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (const auto answered =
            tilewise::answerThroughRunningInstance(arguments, std::cout, std::cerr)) {
        return *answered;
    }
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (tilewise::BackendOption::residentBackend(arguments))
        return runDesktop(self, argv);
    return runCommand(self, argc, argv);
}

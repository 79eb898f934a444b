#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/ExitStatus.h"
#include "cli/InstanceFront.h"

// The `tilewise` command. What the running instance answers (`apply`, `place`, `show-grid`, a
// second start) it asks from here, in a process that loads no more than the socket and JSON
// need; everything else is done by the desktop program (Qt's widgets, the X libraries), which
// then replaces this process.
int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (const auto answered =
            tilewise::answerThroughRunningInstance(arguments, std::cout, std::cerr)) {
        return *answered;
    }
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    const auto desktop = self.parent_path() / TILEWISE_DESKTOP_PROGRAM;
    // Named by this command's path: an autostart entry the desktop program writes runs this.
    std::string command = self.string();
    std::vector<char*> desktopArguments(argv, argv + argc + 1);
    desktopArguments.front() = command.data();
    ::execv(desktop.c_str(), desktopArguments.data());
    std::cerr << "tilewise: cannot run “" << desktop.string() << "”: " << std::strerror(errno)
              << "\n";
    return tilewise::ExitStatus::failure;
}

#include <sys/prctl.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "main/OpenDesktop.h"
#include "platform/QtLogSink.h"

// The subcommands that no running instance answers (`place` and `apply` on their own,
// `displays`, `check-settings`, …), done by this process alone. It loads Qt's core and the X
// libraries but none of Qt's widgets, whose loading would take most of a one-off command's
// time. The `tilewise` command has just asked the running instance, if any.
int main(int argc, char** argv) {
    // Shown by ps, top and killall under the command's name, not the program's in libexec.
    ::prctl(PR_SET_NAME, "tilewise");
    tilewise::QtLogSink::install();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return tilewise::runCommandLine(arguments, tilewise::openDesktop, std::cout, std::cerr);
}

#pragma once

#include <string>

#include "app/ExitStatus.h"

namespace tilewise {

/// What a command prints and exits with. The running instance sends it back over its socket,
/// so a command gives the same answer whichever process did the work.
struct CommandReply {
    int exitStatus = ExitStatus::success;
    std::string output;  ///< for standard output, each line ending in a line feed
    std::string error;   ///< for standard error, each line ending in a line feed

    static CommandReply failed(const std::string& sentence, int status = ExitStatus::failure) {
        return {status, {}, sentence + "\n"};
    }

    bool operator==(const CommandReply&) const = default;
};

}  // namespace tilewise

#pragma once

#include <expected>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/CommandReply.h"
#include "app/DesktopSession.h"
#include "app/InstanceRequest.h"

namespace tilewise {

/// One command-line tool of the tilewise executable. A tool that works on files has `run`; a
/// tool that reads the desktop has `runOnDesktop` and is handed a session on the chosen
/// backend; a tool the running instance can serve has `request`, which turns its arguments
/// into the request (or the usage error). `run` and `runOnDesktop` receive the arguments after
/// the subcommand's name and return the process's exit status.
struct Subcommand {
    using FileTool = int (*)(const std::vector<std::string>& arguments, std::ostream& out,
                             std::ostream& err);
    using DesktopTool = int (*)(const std::vector<std::string>& arguments, DesktopSession& session,
                                std::ostream& out, std::ostream& err);
    using RequestParser =
        std::expected<InstanceRequest, CommandReply> (*)(const std::vector<std::string>& arguments);

    std::string_view name;
    std::string_view synopsis;
    std::string_view summary;
    FileTool run = nullptr;
    DesktopTool runOnDesktop = nullptr;
    RequestParser request = nullptr;
};

}  // namespace tilewise

#include "cli/RequestCommands.h"

#include "cli/PlaceCommand.h"

namespace tilewise {

const std::vector<Subcommand>& requestCommands() {
    static const std::vector<Subcommand> all{
        {"place", "place --grid COLUMNSxROWS --cells C,R:C,R [--display under-mouse|window]",
         "Places the frontmost window on a block of cells with the settings' margins and prints "
         "the requested and the actual frame.",
         nullptr, nullptr, parsePlace},
        {"apply", "apply NAME|ID",
         "Places the frontmost window on a saved layout's cells, as its shortcut would (through "
         "the running Tilewise a repeated apply cycles displays).",
         nullptr, nullptr, parseApply},
        {"show-grid", "show-grid", "Shows the running Tilewise's grid panel.", nullptr, nullptr,
         parseShowGrid},
    };
    return all;
}

}  // namespace tilewise

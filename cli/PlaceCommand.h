#pragma once

#include <expected>
#include <string>
#include <vector>

#include "app/CommandReply.h"
#include "app/InstanceRequest.h"

namespace tilewise {

/// `tilewise place --grid COLUMNSxROWS --cells C,R:C,R [--display under-mouse|window]`: the
/// frontmost window on the cells with the settings' margins, on the display the settings'
/// panel placement names unless given. Exit status 0 only for an exact placement.
std::expected<InstanceRequest, CommandReply> parsePlace(const std::vector<std::string>& arguments);

/// `tilewise apply NAME|ID`: the same for a saved layout, found by its id or else by its name.
/// Through the running instance a repeated apply cycles displays as the shortcut does.
std::expected<InstanceRequest, CommandReply> parseApply(const std::vector<std::string>& arguments);

/// `tilewise show-grid`: the running instance shows its grid panel.
std::expected<InstanceRequest, CommandReply> parseShowGrid(
    const std::vector<std::string>& arguments);

}  // namespace tilewise

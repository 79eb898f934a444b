#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "app/DesktopSession.h"

namespace tilewise {

/// `tilewise place --grid COLUMNSxROWS --cells C,R:C,R [--display under-mouse|window]`:
/// places the frontmost window on the cells with the settings' margins. The display defaults
/// to the settings' panel placement. Exit status 0 only for an exact placement, 2 for a usage
/// error.
int runPlace(const std::vector<std::string>& arguments, DesktopSession& session, std::ostream& out,
             std::ostream& err);

/// `tilewise apply NAME|ID`: the same for a saved layout of the settings, found by its id or
/// else by its name. A single command has no history, so it never cycles displays.
int runApply(const std::vector<std::string>& arguments, DesktopSession& session, std::ostream& out,
             std::ostream& err);

}  // namespace tilewise

#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "app/DesktopSession.h"

namespace tilewise {

/// `tilewise displays`: one line per display as the application sees it (top-left space,
/// usable area below the menu bar): id (with the output's name where the system has one),
/// frame, visible frame and backing scale.
int runDisplays(const std::vector<std::string>& arguments, DesktopSession& session,
                std::ostream& out, std::ostream& err);

}  // namespace tilewise

#pragma once

#include <expected>
#include <memory>
#include <string>
#include <string_view>

#include "app/DesktopSession.h"

namespace tilewise {

/// The desktop session on the named backend ("x11" or "sim"); the sentence on failure.
std::expected<std::unique_ptr<DesktopSession>, std::string> openDesktop(std::string_view backend);

}  // namespace tilewise

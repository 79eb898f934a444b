#pragma once

#include <string>

#include "core/Rect.h"

namespace tilewise {

/// The shortest text that reads back as the same number ("10", "323.5", "0.1").
std::string formatNumber(double value);
/// A rectangle as "X,Y WxH".
std::string formatRect(const Rect& rect);

}  // namespace tilewise

#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tilewise {

/// `tilewise check-settings FILE`: decodes the file as the store would load it and prints
/// "OK" with any warnings' sentences, or the reason it would be rejected. Exit status 0 only
/// when the file would load, 1 when it would not, 2 for a usage error.
int runCheckSettings(const std::vector<std::string>& arguments, std::ostream& out,
                     std::ostream& err);

}  // namespace tilewise

#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tilewise {

/// `tilewise import-divvy [--dry-run] [--from FILE]`: merges Divvy's saved shortcuts and
/// options into the settings file as the status menu's import does, and prints the notes.
/// Divvy's domain comes from its preferences file in the standard places, or from FILE: a
/// preferences file, or the bare "shortcuts" archive that Divvy's export links carry.
/// `--dry-run` prints the notes and the resulting layouts and writes nothing. Exit status 0 on
/// success, 1 when Divvy's data or the settings file cannot be read or written, 2 for a usage
/// error.
int runImportDivvy(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace tilewise

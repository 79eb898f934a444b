#pragma once

#include <filesystem>

namespace tilewise {

/// Shows `file` in the desktop's file manager, selected where the file manager offers that
/// (the freedesktop FileManager1 interface), otherwise opens its folder. Returns at once: the
/// file manager answers later, and a failure of both ways is logged.
void revealInFileManager(const std::filesystem::path& file);

}  // namespace tilewise

#pragma once

#include <filesystem>

namespace tilewise {

/// Shows `file` in the desktop's file manager, selected where the file manager offers that
/// (the freedesktop FileManager1 interface), otherwise opens its folder. False when neither
/// could be asked.
bool revealInFileManager(const std::filesystem::path& file);

}  // namespace tilewise

#pragma once

#include <cstdint>
#include <expected>
#include <span>
#include <string_view>
#include <vector>

#include "core/Settings.h"

namespace tilewise {

/// Turns the keyed archive in which Divvy keeps its saved shortcuts into saved layouts. It
/// only reads; nothing of Divvy's is ever written.
namespace DivvyImport {

/// The preferences domain of Divvy sold directly (its bundle identifier).
inline constexpr std::string_view defaultsDomain = "com.mizage.direct.Divvy";
/// The preferences domain of Divvy sold through the App Store.
inline constexpr std::string_view appStoreDefaultsDomain = "com.mizage.Divvy";
/// The key under which the domain holds the archive.
inline constexpr std::string_view shortcutsKey = "shortcuts";

enum class ImportError {
    notAnArchive,        // the bytes are not a keyed archive
    unexpectedContents,  // the archive does not hold what is expected
};

/// The case's name, which is how callers show the error.
std::string_view caseName(ImportError error);

/// The archive's shortcuts as layouts, in archive order, each with a fresh id. Fails as a
/// whole: an archive with one unusable record gives no layouts at all.
std::expected<std::vector<SavedLayout>, ImportError> layouts(std::span<const std::uint8_t> archive);

}  // namespace DivvyImport
}  // namespace tilewise

#pragma once

#include <expected>
#include <filesystem>
#include <string>

#include "core/Settings.h"

namespace tilewise {

/// Reading and decoding the settings file, the one way the store and every subcommand do it.
namespace SettingsFile {

/// A settings file that was read and decoded.
struct Loaded {
    TilewiseSettings settings;
    /// The regular file that was read, symbolic links resolved: the file a save may replace.
    std::filesystem::path file;
};

/// Why the settings file gave no settings.
struct Failure {
    enum class Kind {
        missing,      // nothing at the path: a first run
        unreadable,   // something is there that cannot be read (permissions, a directory, a FIFO,
                      // a device, a loop of links, a file too large): it must be left alone
        undecodable,  // read, but refused by the decoder
    };
    Kind kind = Kind::missing;
    /// "The settings file could not be read: …", or the decoder's description.
    std::string description;
    /// What was read, when undecodable, so that it can be kept aside.
    std::string bytes;
};

std::expected<Loaded, Failure> read(const std::filesystem::path& path);

/// The settings of the file, or the defaults when there is no file (as at a first run); the
/// failure when something is there that cannot be read or decoded.
std::expected<TilewiseSettings, Failure> readOrDefaults(const std::filesystem::path& path);

}  // namespace SettingsFile
}  // namespace tilewise

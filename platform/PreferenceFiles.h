#pragma once

#include <expected>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/UserDefaults.h"

namespace tilewise {

/// Other applications' preferences domains read from their property-list files, the way a Mac
/// keeps them: the domain "<id>" is the dictionary at the top of "<id>.plist", taken from the
/// first directory that holds such a file. Every read opens the file afresh; nothing is cached
/// and nothing is written. The application's own domain is empty here. `value` may be called
/// from any thread once `setDomainFile` calls are done.
class PreferenceFiles final : public UserDefaults {
  public:
    explicit PreferenceFiles(std::vector<std::filesystem::path> directories);

    /// $XDG_CONFIG_HOME/Tilewise/Preferences (~/.config when unset), then
    /// ~/Library/Preferences, where a user moving from a Mac copies the files.
    static std::vector<std::filesystem::path> standardDirectories();

    /// The top-level dictionary of a preferences file, keeping the values a property can hold
    /// (booleans, integers, reals, strings, data); a sentence naming the file when it cannot be
    /// read (not a regular file, too large, …), is no property list or holds no dictionary.
    static std::expected<PropertyDictionary, std::string> readDomain(
        const std::filesystem::path& file);

    /// Reads `domain` from `file` alone instead of searching the directories.
    void setDomainFile(std::string_view domain, std::filesystem::path file);

    std::optional<PropertyValue> value(std::string_view key) override;
    std::optional<PropertyValue> value(std::string_view domain, std::string_view key) override;

  private:
    std::vector<std::filesystem::path> directories_;
    std::map<std::string, std::filesystem::path, std::less<>> domainFiles_;
};

}  // namespace tilewise

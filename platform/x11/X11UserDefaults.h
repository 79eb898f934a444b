#pragma once

#include <string>
#include <vector>

#include "platform/PreferenceFiles.h"
#include "platform/UserDefaults.h"

namespace tilewise::x11 {

/// User defaults on Linux. The application's own domain has no store of its own: it is the
/// launch arguments (`-Key value`, the first occurrence winning) and then the environment
/// variable named like the key, both as strings, as a Mac reads arguments that are no property
/// list. Other applications' domains are their property-list files (`PreferenceFiles`).
/// Callable from any thread.
class X11UserDefaults final : public UserDefaults {
  public:
    /// `arguments` are the process's arguments, the program name first; other domains are
    /// looked up in `preferenceDirectories`, in order.
    X11UserDefaults(std::vector<std::string> arguments,
                    std::vector<std::filesystem::path> preferenceDirectories =
                        PreferenceFiles::standardDirectories());

    std::optional<PropertyValue> value(std::string_view key) override;
    std::optional<PropertyValue> value(std::string_view domain, std::string_view key) override;

  private:
    std::vector<std::string> arguments_;
    PreferenceFiles otherDomains_;
};

}  // namespace tilewise::x11

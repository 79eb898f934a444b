#pragma once

#include <map>
#include <mutex>
#include <set>
#include <string>

#include "platform/UserDefaults.h"

namespace tilewise::sim {

/// User defaults held in memory: the own domain and other applications' domains by name, any
/// of which can be made unreadable.
class SimUserDefaults final : public UserDefaults {
  public:
    std::optional<PropertyValue> value(std::string_view key) override;
    std::optional<PropertyValue> value(std::string_view domain, std::string_view key) override;

    void set(std::string_view key, PropertyValue value);
    void set(std::string_view domain, std::string_view key, PropertyValue value);
    /// Makes a domain unreadable, as a corrupt preferences file is.
    void breakDomain(std::string_view domain);

  private:
    using Domain = std::map<std::string, PropertyValue, std::less<>>;

    mutable std::mutex mutex_;
    Domain own_;
    std::map<std::string, Domain, std::less<>> domains_;
    std::set<std::string, std::less<>> broken_;
};

}  // namespace tilewise::sim

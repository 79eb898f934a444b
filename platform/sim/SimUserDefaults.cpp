#include "platform/sim/SimUserDefaults.h"

namespace tilewise::sim {

std::optional<PropertyValue> SimUserDefaults::value(std::string_view key) {
    std::lock_guard lock{mutex_};
    const auto found = own_.find(key);
    return found == own_.end() ? std::nullopt : std::optional{found->second};
}

std::optional<PropertyValue> SimUserDefaults::value(std::string_view domain, std::string_view key) {
    std::lock_guard lock{mutex_};
    const auto values = domains_.find(domain);
    if (values == domains_.end() || broken_.contains(domain)) {
        return std::nullopt;
    }
    const auto found = values->second.find(key);
    return found == values->second.end() ? std::nullopt : std::optional{found->second};
}

void SimUserDefaults::set(std::string_view key, PropertyValue value) {
    std::lock_guard lock{mutex_};
    own_.insert_or_assign(std::string{key}, std::move(value));
}

void SimUserDefaults::set(std::string_view domain, std::string_view key, PropertyValue value) {
    std::lock_guard lock{mutex_};
    auto values = domains_.find(domain);
    if (values == domains_.end()) {
        values = domains_.emplace(std::string{domain}, Domain{}).first;
    }
    values->second.insert_or_assign(std::string{key}, std::move(value));
}

void SimUserDefaults::breakDomain(std::string_view domain) {
    std::lock_guard lock{mutex_};
    broken_.emplace(domain);
}

}  // namespace tilewise::sim

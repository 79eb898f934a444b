#include "platform/LogRules.h"

#include <array>
#include <utility>

namespace tilewise {
namespace {

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view kSpace = " \t\r";
    const auto first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

bool matches(std::string_view pattern, std::string_view category) {
    const bool anyStart = pattern.starts_with('*');
    if (anyStart)
        pattern.remove_prefix(1);
    const bool anyEnd = pattern.ends_with('*');
    if (anyEnd)
        pattern.remove_suffix(1);
    if (anyStart && anyEnd)
        return category.find(pattern) != std::string_view::npos;
    if (anyStart)
        return category.ends_with(pattern);
    if (anyEnd)
        return category.starts_with(pattern);
    return category == pattern;
}

}  // namespace

LogRules::LogRules(std::string_view rules) {
    while (!rules.empty()) {
        const auto end = rules.find_first_of(";\n");
        add(trimmed(rules.substr(0, end)));
        rules = end == std::string_view::npos ? std::string_view{} : rules.substr(end + 1);
    }
}

// A rule that cannot be read is skipped, as Qt skips it.
void LogRules::add(std::string_view rule) {
    const auto equals = rule.find('=');
    if (equals == std::string_view::npos)
        return;
    const auto value = trimmed(rule.substr(equals + 1));
    if (value != "true" && value != "false")
        return;
    std::string_view category = trimmed(rule.substr(0, equals));
    std::optional<LogLevel> level;
    // Category names have dots of their own ("qt.qpa.xcb"): only a level's name ends one.
    constexpr std::array<std::pair<std::string_view, std::optional<LogLevel>>, 4> kLevels{{
        {".debug", LogLevel::debug},
        {".info", LogLevel::info},
        {".warning", std::nullopt},
        {".critical", LogLevel::error},
    }};
    for (const auto& [suffix, ours] : kLevels) {
        if (category.ends_with(suffix)) {
            if (!ours)
                return;
            level = ours;
            category.remove_suffix(suffix.size());
            break;
        }
    }
    rules_.push_back({std::string{category}, level, value == "true"});
}

bool LogRules::enabled(std::string_view category, LogLevel level) const {
    for (auto rule = rules_.rbegin(); rule != rules_.rend(); ++rule) {
        if ((!rule->level || *rule->level == level) && matches(rule->category, category))
            return rule->enabled;
    }
    return level != LogLevel::debug;
}

}  // namespace tilewise

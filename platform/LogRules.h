#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Log.h"

namespace tilewise {

/// Which messages are written, by rules in the syntax of QT_LOGGING_RULES: `category[.level]=
/// true|false`, separated by semicolons or line breaks, with a `*` at either end of the category
/// standing for any text. The last rule that matches decides; without one, information and
/// errors are written and debug messages are not. The levels are Qt's: debug, info, warning
/// and critical (our errors); warning is none of ours.
class LogRules {
  public:
    explicit LogRules(std::string_view rules);

    bool enabled(std::string_view category, LogLevel level) const;

  private:
    struct Rule {
        std::string category;
        std::optional<LogLevel> level;  ///< every level when absent
        bool enabled;
    };

    void add(std::string_view rule);

    std::vector<Rule> rules_;
};

}  // namespace tilewise

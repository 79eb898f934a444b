#pragma once

#include <QLoggingCategory>
#include <string_view>

namespace tilewise {

/// The areas of the application, one Qt logging category each: "app", "settings", "windows"
/// and "hotkeys", filterable with QT_LOGGING_RULES (debug messages only when a rule turns
/// them on, e.g. QT_LOGGING_RULES="windows.debug=true").
enum class LogCategory { app, settings, windows, hotkeys };

enum class LogLevel { debug, info, error };

/// Writing to the areas' categories. Where the messages end up is the Qt message handler's
/// business: `LogSink` in the executable, an in-memory capture in tests.
namespace Log {

const QLoggingCategory& category(LogCategory category);

void write(LogCategory category, LogLevel level, std::string_view message);

inline void info(LogCategory category, std::string_view message) {
    write(category, LogLevel::info, message);
}
inline void error(LogCategory category, std::string_view message) {
    write(category, LogLevel::error, message);
}

}  // namespace Log
}  // namespace tilewise

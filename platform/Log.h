#pragma once

#include <string_view>

namespace tilewise {

/// The areas of the application: "app", "settings", "windows" and "hotkeys", filterable with
/// QT_LOGGING_RULES (debug messages only when a rule turns them on, e.g.
/// QT_LOGGING_RULES="windows.debug=true").
enum class LogCategory { app, settings, windows, hotkeys };

enum class LogLevel { debug, info, error };

/// Writing to the areas. Where the messages end up is the installed writer's business: a
/// `LogSink` in the programs, an in-memory capture in tests.
namespace Log {

/// Receives every message, debug ones included; it decides what to keep. Called from any thread.
using Writer = void (*)(LogCategory category, LogLevel level, std::string_view message);

/// Sends every later message to `writer`; returns the writer it replaces. Until one is set (and
/// after a null one), information and errors go to standard error and debug messages nowhere.
Writer setWriter(Writer writer);

/// The category's name, as logging rules and the system log know it.
std::string_view name(LogCategory category);

void write(LogCategory category, LogLevel level, std::string_view message);

inline void info(LogCategory category, std::string_view message) {
    write(category, LogLevel::info, message);
}
inline void error(LogCategory category, std::string_view message) {
    write(category, LogLevel::error, message);
}

}  // namespace Log
}  // namespace tilewise

#pragma once

#include <functional>
#include <string_view>

namespace tilewise {

/// The areas of the application, one category each in the system log.
enum class LogCategory { app, settings, windows, hotkeys };

enum class LogLevel { debug, info, error, fault };

/// The one logging facade: messages go to the system log (syslog, and so the journal) under
/// the identifier "tilewise", prefixed with their category; a sink can take them instead.
namespace Log {

using Sink = std::function<void(LogCategory, LogLevel, std::string_view message)>;

void write(LogCategory category, LogLevel level, std::string_view message);

inline void info(LogCategory category, std::string_view message) {
    write(category, LogLevel::info, message);
}
inline void error(LogCategory category, std::string_view message) {
    write(category, LogLevel::error, message);
}

/// Replaces the system log with `sink` (an empty sink restores it); returns the previous one.
Sink setSink(Sink sink);

std::string_view categoryName(LogCategory category);

}  // namespace Log
}  // namespace tilewise

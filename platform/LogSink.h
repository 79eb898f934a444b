#pragma once

#include <string_view>

namespace tilewise::LogSink {

/// Sends the messages of `Log::write` that QT_LOGGING_RULES lets through (information and
/// errors, debug where a rule turns it on) to `send`. For programs without Qt; those with Qt
/// install `QtLogSink` instead.
void install();

/// Writes one message to the systemd journal when it is there and to syslog otherwise, under the
/// identifier "tilewise" with the category as a field (journal) or a prefix (syslog); mirrored
/// to standard error when that is a terminal. `priority` is syslog's (LOG_ERR, LOG_INFO…). The
/// journal's library is loaded by the first message, so a process that says nothing never
/// pays for it. Callable from any thread.
void send(int priority, std::string_view category, std::string_view message);

}  // namespace tilewise::LogSink

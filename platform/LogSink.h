#pragma once

namespace tilewise::LogSink {

/// Sends every Qt log message, ours and Qt's own, to the systemd journal when it is there and to
/// syslog otherwise, under the identifier "tilewise" with the category as a field (journal) or
/// a prefix (syslog); mirrored to standard error when that is a terminal.
void install();

}  // namespace tilewise::LogSink

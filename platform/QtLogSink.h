#pragma once

namespace tilewise::QtLogSink {

/// For the programs that run Qt: `Log::write` goes through Qt logging categories of the same
/// names, so that Qt's rules (QT_LOGGING_RULES among them) filter ours as they filter Qt's own,
/// and every message Qt lets through, ours and Qt's, goes to `LogSink::send`.
void install();

}  // namespace tilewise::QtLogSink

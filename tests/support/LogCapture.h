#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Log.h"

namespace tilewise {

/// Captures every message of `Log::write` while it exists, debug ones included, instead of
/// letting them reach the installed writer. One at a time.
class LogCapture {
  public:
    struct Entry {
        LogCategory category;
        LogLevel level;
        std::string message;
    };

    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<Entry> entries() const;
    /// The messages of one category and level, in order.
    std::vector<std::string> messages(LogCategory category, LogLevel level) const;

  private:
    static void capture(LogCategory category, LogLevel level, std::string_view message);

    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
    Log::Writer previous_;
};

}  // namespace tilewise

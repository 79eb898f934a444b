#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "platform/Log.h"

namespace tilewise {

/// Captures every log message while it exists, instead of sending it to the system log.
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
    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
    Log::Sink previous_;
};

}  // namespace tilewise

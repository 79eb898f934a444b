#pragma once

#include <QtGlobal>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Log.h"

namespace tilewise {

/// Captures every message of the application's log categories while it exists, debug ones
/// included, instead of letting them reach the installed handler. One at a time.
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
    static void capture(QtMsgType type, const QMessageLogContext& context, const QString& text);

    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
    QtMessageHandler previous_;
};

}  // namespace tilewise

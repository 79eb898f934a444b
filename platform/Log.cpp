#include "platform/Log.h"

#include <syslog.h>

#include <mutex>
#include <string>
#include <utility>

namespace tilewise::Log {
namespace {

std::mutex& sinkMutex() {
    static std::mutex mutex;
    return mutex;
}

Sink& currentSink() {
    static Sink sink;
    return sink;
}

int priority(LogLevel level) {
    switch (level) {
        case LogLevel::debug:
            return LOG_DEBUG;
        case LogLevel::info:
            return LOG_INFO;
        case LogLevel::error:
            return LOG_ERR;
        case LogLevel::fault:
            return LOG_CRIT;
    }
    return LOG_NOTICE;
}

void writeToSystemLog(LogCategory category, LogLevel level, std::string_view message) {
    static std::once_flag opened;
    std::call_once(opened, [] { ::openlog("tilewise", LOG_PID, LOG_USER); });
    const std::string text{message};
    const std::string name{categoryName(category)};
    // The message is data, never a format: it may hold an application's or a file's name.
    ::syslog(priority(level), "[%s] %s", name.c_str(), text.c_str());
}

}  // namespace

std::string_view categoryName(LogCategory category) {
    switch (category) {
        case LogCategory::app:
            return "app";
        case LogCategory::settings:
            return "settings";
        case LogCategory::windows:
            return "windows";
        case LogCategory::hotkeys:
            return "hotkeys";
    }
    return "app";
}

void write(LogCategory category, LogLevel level, std::string_view message) {
    Sink sink;
    {
        std::lock_guard lock{sinkMutex()};
        sink = currentSink();
    }
    if (sink) {
        sink(category, level, message);
    } else {
        writeToSystemLog(category, level, message);
    }
}

Sink setSink(Sink sink) {
    std::lock_guard lock{sinkMutex()};
    return std::exchange(currentSink(), std::move(sink));
}

}  // namespace tilewise::Log

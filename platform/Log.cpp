#include "platform/Log.h"

#include <atomic>
#include <cstdio>

namespace tilewise::Log {
namespace {

void toStandardError(LogCategory category, LogLevel level, std::string_view message) {
    if (level == LogLevel::debug)
        return;
    const auto area = name(category);
    std::fprintf(stderr, "tilewise [%.*s] %.*s\n", static_cast<int>(area.size()), area.data(),
                 static_cast<int>(message.size()), message.data());
}

std::atomic<Writer> installed{toStandardError};

}  // namespace

Writer setWriter(Writer writer) {
    return installed.exchange(writer != nullptr ? writer : toStandardError);
}

std::string_view name(LogCategory category) {
    switch (category) {
        case LogCategory::app:
            break;
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
    installed.load()(category, level, message);
}

}  // namespace tilewise::Log

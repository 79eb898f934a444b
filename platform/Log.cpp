#include "platform/Log.h"

#include <string>

namespace tilewise::Log {
namespace {

Q_LOGGING_CATEGORY(appLog, "app", QtInfoMsg)
Q_LOGGING_CATEGORY(settingsLog, "settings", QtInfoMsg)
Q_LOGGING_CATEGORY(windowsLog, "windows", QtInfoMsg)
Q_LOGGING_CATEGORY(hotkeysLog, "hotkeys", QtInfoMsg)

}  // namespace

const QLoggingCategory& category(LogCategory category) {
    switch (category) {
        case LogCategory::app:
            break;
        case LogCategory::settings:
            return settingsLog();
        case LogCategory::windows:
            return windowsLog();
        case LogCategory::hotkeys:
            return hotkeysLog();
    }
    return appLog();
}

void write(LogCategory area, LogLevel level, std::string_view message) {
    const auto& target = category(area);
    // The message is data, never a format: it may hold an application's or a file's name.
    const std::string text{message};
    switch (level) {
        case LogLevel::debug:
            qCDebug(target, "%s", text.c_str());
            return;
        case LogLevel::info:
            qCInfo(target, "%s", text.c_str());
            return;
        case LogLevel::error:
            qCCritical(target, "%s", text.c_str());
            return;
    }
}

}  // namespace tilewise::Log

#include "platform/QtLogSink.h"

#include <syslog.h>

#include <QLoggingCategory>
#include <QString>
#include <string>

#include "platform/Log.h"
#include "platform/LogSink.h"

namespace tilewise::QtLogSink {
namespace {

Q_LOGGING_CATEGORY(appLog, "app", QtInfoMsg)
Q_LOGGING_CATEGORY(settingsLog, "settings", QtInfoMsg)
Q_LOGGING_CATEGORY(windowsLog, "windows", QtInfoMsg)
Q_LOGGING_CATEGORY(hotkeysLog, "hotkeys", QtInfoMsg)

const QLoggingCategory& qtCategory(LogCategory category) {
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

void writeThroughQt(LogCategory area, LogLevel level, std::string_view message) {
    const auto& category = qtCategory(area);
    // The message is data, never a format: it may hold an application's or a file's name.
    const std::string text{message};
    switch (level) {
        case LogLevel::debug:
            qCDebug(category, "%s", text.c_str());
            return;
        case LogLevel::info:
            qCInfo(category, "%s", text.c_str());
            return;
        case LogLevel::error:
            qCCritical(category, "%s", text.c_str());
            return;
    }
}

int priority(QtMsgType type) {
    switch (type) {
        case QtDebugMsg:
            return LOG_DEBUG;
        case QtInfoMsg:
            return LOG_INFO;
        case QtWarningMsg:
            return LOG_WARNING;
        case QtCriticalMsg:
            return LOG_ERR;
        case QtFatalMsg:
            return LOG_CRIT;
    }
    return LOG_NOTICE;
}

void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const QByteArray text = message.toUtf8();
    LogSink::send(priority(type), context.category != nullptr ? context.category : "default",
                  std::string_view{text.constData(), static_cast<std::size_t>(text.size())});
}

}  // namespace

void install() {
    Log::setWriter(writeThroughQt);
    qInstallMessageHandler(handle);
}

}  // namespace tilewise::QtLogSink

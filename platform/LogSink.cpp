#include "platform/LogSink.h"

#include <syslog.h>
#include <systemd/sd-journal.h>
#include <unistd.h>

#include <QLoggingCategory>
#include <QString>
#include <cstdio>
#include <mutex>

namespace tilewise::LogSink {
namespace {

constexpr const char* kIdentifier = "tilewise";

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

struct Destinations {
    bool journal = ::access("/run/systemd/journal/socket", W_OK) == 0;
    bool terminal = ::isatty(STDERR_FILENO) == 1;
};

const Destinations& destinations() {
    static const Destinations found = [] {
        Destinations chosen;
        if (!chosen.journal)
            ::openlog(kIdentifier, LOG_PID, LOG_USER);
        return chosen;
    }();
    return found;
}

void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const auto& to = destinations();
    const char* category = context.category != nullptr ? context.category : "default";
    const QByteArray text = message.toUtf8();
    if (to.journal) {
        ::sd_journal_send("MESSAGE=%s", text.constData(), "PRIORITY=%d", priority(type),
                          "SYSLOG_IDENTIFIER=%s", kIdentifier, "TILEWISE_CATEGORY=%s", category,
                          nullptr);
    } else {
        ::syslog(priority(type), "[%s] %s", category, text.constData());
    }
    if (to.terminal) {
        static std::mutex terminalLock;
        std::lock_guard lock{terminalLock};
        std::fprintf(stderr, "tilewise [%s] %s\n", category, text.constData());
    }
}

}  // namespace

void install() {
    destinations();
    qInstallMessageHandler(handle);
}

}  // namespace tilewise::LogSink

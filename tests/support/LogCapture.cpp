#include "tests/support/LogCapture.h"

#include <QLoggingCategory>
#include <QString>
#include <array>
#include <atomic>
#include <cstring>
#include <optional>

namespace tilewise {
namespace {

std::atomic<LogCapture*> active{nullptr};

constexpr std::array kCategories{LogCategory::app, LogCategory::settings, LogCategory::windows,
                                 LogCategory::hotkeys};

std::optional<LogCategory> categoryNamed(const char* name) {
    for (const auto category : kCategories) {
        if (name != nullptr && std::strcmp(Log::category(category).categoryName(), name) == 0)
            return category;
    }
    return std::nullopt;
}

std::optional<LogLevel> levelOf(QtMsgType type) {
    switch (type) {
        case QtDebugMsg:
            return LogLevel::debug;
        case QtInfoMsg:
            return LogLevel::info;
        case QtCriticalMsg:
            return LogLevel::error;
        default:
            return std::nullopt;
    }
}

}  // namespace

LogCapture::LogCapture() {
    active = this;
    QLoggingCategory::setFilterRules(
        "app.debug=true\nsettings.debug=true\nwindows.debug=true\n"
        "hotkeys.debug=true");
    previous_ = qInstallMessageHandler(capture);
}

LogCapture::~LogCapture() {
    qInstallMessageHandler(previous_);
    QLoggingCategory::setFilterRules({});
    active = nullptr;
}

void LogCapture::capture(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    LogCapture* self = active;
    const auto category = categoryNamed(context.category);
    const auto level = levelOf(type);
    if (self == nullptr || !category || !level)
        return;
    std::lock_guard lock{self->mutex_};
    self->entries_.push_back({*category, *level, text.toStdString()});
}

std::vector<LogCapture::Entry> LogCapture::entries() const {
    std::lock_guard lock{mutex_};
    return entries_;
}

std::vector<std::string> LogCapture::messages(LogCategory category, LogLevel level) const {
    std::lock_guard lock{mutex_};
    std::vector<std::string> result;
    for (const auto& entry : entries_) {
        if (entry.category == category && entry.level == level) {
            result.push_back(entry.message);
        }
    }
    return result;
}

}  // namespace tilewise

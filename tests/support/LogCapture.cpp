#include "tests/support/LogCapture.h"

#include <atomic>

namespace tilewise {
namespace {

std::atomic<LogCapture*> active{nullptr};

}  // namespace

LogCapture::LogCapture() {
    active = this;
    previous_ = Log::setWriter(capture);
}

LogCapture::~LogCapture() {
    Log::setWriter(previous_);
    active = nullptr;
}

void LogCapture::capture(LogCategory category, LogLevel level, std::string_view message) {
    LogCapture* self = active;
    if (self == nullptr)
        return;
    std::lock_guard lock{self->mutex_};
    self->entries_.push_back({category, level, std::string{message}});
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

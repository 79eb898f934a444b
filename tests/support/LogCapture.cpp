#include "tests/support/LogCapture.h"

namespace tilewise {

LogCapture::LogCapture() {
    previous_ = Log::setSink([this](LogCategory category, LogLevel level, std::string_view text) {
        std::lock_guard lock{mutex_};
        entries_.push_back({category, level, std::string{text}});
    });
}

LogCapture::~LogCapture() {
    Log::setSink(std::move(previous_));
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

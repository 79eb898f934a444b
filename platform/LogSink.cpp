#include "platform/LogSink.h"

#include <sys/uio.h>
#include <syslog.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/Log.h"
#include "platform/LogRules.h"
#include "platform/SharedLibrary.h"

namespace tilewise::LogSink {
namespace {

constexpr const char* kIdentifier = "tilewise";

// libsystemd's sd_journal_sendv.
using JournalSend = int (*)(const iovec* fields, int count);

JournalSend openJournal() {
    if (::access("/run/systemd/journal/socket", W_OK) != 0)
        return nullptr;
    static SharedLibrary systemd{"libsystemd.so.0"};
    return systemd.function<int(const iovec*, int)>("sd_journal_sendv");
}

struct Destinations {
    JournalSend journal = openJournal();
    bool terminal = ::isatty(STDERR_FILENO) == 1;
};

const Destinations& destinations() {
    static const Destinations found = [] {
        Destinations chosen;
        if (chosen.journal == nullptr)
            ::openlog(kIdentifier, LOG_PID, LOG_USER);
        return chosen;
    }();
    return found;
}

void toJournal(JournalSend journal, int priority, std::string_view category,
               std::string_view message) {
    const std::array<std::string, 4> fields{
        "MESSAGE=" + std::string{message},
        "PRIORITY=" + std::to_string(priority),
        std::string{"SYSLOG_IDENTIFIER="} + kIdentifier,
        "TILEWISE_CATEGORY=" + std::string{category},
    };
    std::array<iovec, fields.size()> vectors{};
    for (std::size_t i = 0; i < fields.size(); ++i)
        vectors[i] = {const_cast<char*>(fields[i].data()), fields[i].size()};
    journal(vectors.data(), static_cast<int>(vectors.size()));
}

int priority(LogLevel level) {
    switch (level) {
        case LogLevel::debug:
            return LOG_DEBUG;
        case LogLevel::info:
            return LOG_INFO;
        case LogLevel::error:
            break;
    }
    return LOG_ERR;
}

const LogRules& rules() {
    static const LogRules fromEnvironment{[] {
        const char* rules = std::getenv("QT_LOGGING_RULES");
        return std::string_view{rules != nullptr ? rules : ""};
    }()};
    return fromEnvironment;
}

void writeAllowed(LogCategory category, LogLevel level, std::string_view message) {
    const auto name = Log::name(category);
    if (rules().enabled(name, level))
        send(priority(level), name, message);
}

}  // namespace

void install() {
    rules();
    Log::setWriter(writeAllowed);
}

void send(int priority, std::string_view category, std::string_view message) {
    const auto& to = destinations();
    const int categoryLength = static_cast<int>(category.size());
    const int messageLength = static_cast<int>(message.size());
    if (to.journal != nullptr) {
        toJournal(to.journal, priority, category, message);
    } else {
        ::syslog(priority, "[%.*s] %.*s", categoryLength, category.data(), messageLength,
                 message.data());
    }
    // One call, so that lines of several threads never interleave.
    if (to.terminal) {
        std::fprintf(stderr, "tilewise [%.*s] %.*s\n", categoryLength, category.data(),
                     messageLength, message.data());
    }
}

}  // namespace tilewise::LogSink

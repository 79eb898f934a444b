#include "app/TerminationSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <array>
#include <csignal>

#include "platform/Log.h"

namespace tilewise {
namespace {

constexpr std::array kSignals{SIGTERM, SIGINT};
// Written from the handler: only async-signal-safe calls there, the rest on the main loop.
std::array<int, 2> wakePipe{-1, -1};

void handleSignal(int signal) {
    const auto number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const auto written = ::write(wakePipe[1], &number, 1);
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> terminate)
    : terminate_(std::move(terminate)) {
    if (::pipe2(wakePipe.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        Log::error(LogCategory::app, "cannot watch for termination signals");
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(wakePipe[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
        unsigned char signal = 0;
        while (::read(wakePipe[0], &signal, 1) == 1) {
            Log::info(LogCategory::app, "ending on signal " + std::to_string(signal));
            terminate_();
        }
    });
    struct sigaction action {};
    action.sa_handler = handleSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals) {
        ::sigaction(signal, &action, nullptr);
    }
}

TerminationSignals::~TerminationSignals() {
    for (const int signal : kSignals) {
        std::signal(signal, SIG_DFL);
    }
    notifier_.reset();
    for (int& end : wakePipe) {
        if (end >= 0) {
            ::close(end);
            end = -1;
        }
    }
}

}  // namespace tilewise

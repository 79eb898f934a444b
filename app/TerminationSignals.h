#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

namespace tilewise {

/// Turns SIGTERM and SIGINT, the way a desktop session or a terminal ends a program, into a
/// call on the main thread, so that the application ends as if the user had quit it.
class TerminationSignals {
  public:
    /// Installs the handlers; `terminate` runs on the main loop once per signal received.
    explicit TerminationSignals(std::function<void()> terminate);
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;
    /// Restores the default handlers.
    ~TerminationSignals();

  private:
    std::function<void()> terminate_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace tilewise

#include "tests/cli/SimDesktopSession.h"

#include <stdexcept>

namespace tilewise {
namespace {

// Every serial queue of the session shares the one queue the test drains.
class SharedQueue final : public SerialQueue {
  public:
    explicit SharedQueue(SerialQueue& queue) : queue_(queue) {}
    void async(Task task) override { queue_.async(std::move(task)); }
    void pause(Duration duration) override { queue_.pause(duration); }

  private:
    SerialQueue& queue_;
};

class BorrowedSession final : public DesktopSession {
  public:
    explicit BorrowedSession(DesktopSession& session) : session_(session) {}
    Platform& platform() override { return session_.platform(); }
    Scheduler& mainQueue() override { return session_.mainQueue(); }
    std::unique_ptr<SerialQueue> makeSerialQueue() override { return session_.makeSerialQueue(); }
    void runUntil(const std::function<bool()>& done) override { session_.runUntil(done); }

  private:
    DesktopSession& session_;
};

}  // namespace

std::unique_ptr<DesktopSession> SimDesktopSession::borrow() {
    return std::make_unique<BorrowedSession>(*this);
}

SimDesktopSession::SimDesktopSession(std::vector<sim::SimDisplay> displays)
    : platform_(scheduler_, std::move(displays)) {}

std::unique_ptr<SerialQueue> SimDesktopSession::makeSerialQueue() {
    return std::make_unique<SharedQueue>(queue_);
}

void SimDesktopSession::runUntil(const std::function<bool()>& done) {
    while (!done()) {
        const bool worked = queue_.drain() > 0 || scheduler_.pendingCount() > 0;
        scheduler_.runUntilIdle();
        if (!worked) {
            // Returning would leave the caller waiting for a result that never comes; the
            // exception ends the test as a failure instead.
            throw std::runtime_error("the main loop ran dry before the command finished");
        }
    }
}

}  // namespace tilewise

#include "app/QtDesktopSession.h"

#include <QCoreApplication>

#include "platform/ThreadSerialQueue.h"

namespace tilewise {

QtDesktopSession::QtDesktopSession()
    : application_(QCoreApplication::instance() ? nullptr
                                                : std::make_unique<QCoreApplication>(argc_, argv_)),
      scheduler_(std::make_unique<QtScheduler>()) {}

std::expected<std::unique_ptr<QtDesktopSession>, std::string> QtDesktopSession::open(
    const PlatformFactory& makePlatform) {
    std::unique_ptr<QtDesktopSession> session(new QtDesktopSession());
    auto platform = makePlatform(*session->scheduler_);
    if (!platform)
        return std::unexpected(platform.error());
    session->platform_ = std::move(*platform);
    return session;
}

// The platform goes first: its services may still post to the scheduler while they stop.
QtDesktopSession::~QtDesktopSession() {
    platform_.reset();
    scheduler_.reset();
}

std::unique_ptr<SerialQueue> QtDesktopSession::makeSerialQueue() {
    return std::make_unique<ThreadSerialQueue>("tilewise.windows");
}

void QtDesktopSession::runUntil(const std::function<bool()>& done) {
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

}  // namespace tilewise

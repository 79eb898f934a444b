#pragma once

#include <expected>
#include <functional>
#include <memory>
#include <string>

#include "app/DesktopSession.h"
#include "platform/QtScheduler.h"

class QCoreApplication;

namespace tilewise {

/// The command line's session: a Qt event loop without any window, its scheduler, worker
/// threads for the serial queues, and the chosen backend.
class QtDesktopSession final : public DesktopSession {
  public:
    /// Makes the backend, or says why it cannot.
    using PlatformFactory =
        std::function<std::expected<std::unique_ptr<Platform>, std::string>(Scheduler& mainQueue)>;

    /// The session with the backend `makePlatform` makes; its sentence when it makes none.
    static std::expected<std::unique_ptr<QtDesktopSession>, std::string> open(
        const PlatformFactory& makePlatform);
    ~QtDesktopSession() override;

    Platform& platform() override { return *platform_; }
    Scheduler& mainQueue() override { return *scheduler_; }
    std::unique_ptr<SerialQueue> makeSerialQueue() override;
    void runUntil(const std::function<bool()>& done) override;

  private:
    QtDesktopSession();

    int argc_ = 1;
    char name_[9] = "tilewise";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QCoreApplication> application_;
    std::unique_ptr<QtScheduler> scheduler_;
    std::unique_ptr<Platform> platform_;
};

}  // namespace tilewise

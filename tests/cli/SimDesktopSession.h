#pragma once

#include <memory>

#include "app/DesktopSession.h"
#include "platform/ManualScheduler.h"
#include "platform/ManualSerialQueue.h"
#include "platform/sim/SimPlatform.h"

namespace tilewise {

/// A desktop session on the simulated platform whose main loop and serial queues the test's
/// thread runs: `runUntil` alternates between the queued work and the main queue.
class SimDesktopSession final : public DesktopSession {
  public:
    explicit SimDesktopSession(std::vector<sim::SimDisplay> displays);

    Platform& platform() override { return platform_; }
    Scheduler& mainQueue() override { return scheduler_; }
    std::unique_ptr<SerialQueue> makeSerialQueue() override;
    /// Throws (failing the test instead of hanging) when nothing is left to run and `done`
    /// still does not hold.
    void runUntil(const std::function<bool()>& done) override;

    sim::SimPlatform& sim() { return platform_; }
    /// A session object that works on this one without owning it, for a launcher to hand out
    /// while the test keeps the desktop to inspect afterwards.
    std::unique_ptr<DesktopSession> borrow();

  private:
    ManualScheduler scheduler_;
    ManualSerialQueue queue_;
    sim::SimPlatform platform_;
};

}  // namespace tilewise

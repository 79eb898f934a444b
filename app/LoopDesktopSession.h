#pragma once

#include <concepts>
#include <expected>
#include <functional>
#include <memory>
#include <string>

#include "app/DesktopSession.h"
#include "platform/LoopSerialQueue.h"
#include "platform/ThreadSerialQueue.h"

namespace tilewise {

/// A main loop that a session can own: a scheduler that runs its tasks until a condition holds.
template <typename Loop>
concept MainLoop = std::derived_from<Loop, Scheduler> && std::default_initializable<Loop> &&
    requires(Loop loop, const std::function<bool()>& done) {
    loop.runUntil(done);
};

/// Where a session's serial queues run their tasks.
enum class QueueThread {
    worker,    ///< each on a worker thread of its own: the main thread stays responsive
    mainLoop,  ///< on the main loop, for a one-off command that has nothing else to do meanwhile
};

/// A process's desktop session: its own main loop (`PollScheduler` for the one-off commands,
/// `QtScheduler` under the resident application's widgets), its serial queues, and the chosen
/// backend.
template <MainLoop Loop, QueueThread queueThread>
class LoopDesktopSession final : public DesktopSession {
  public:
    /// Makes the backend, or says why it cannot.
    using PlatformFactory =
        std::function<std::expected<std::unique_ptr<Platform>, std::string>(Scheduler& mainQueue)>;

    /// The session with the backend `makePlatform` makes; its sentence when it makes none.
    static std::expected<std::unique_ptr<DesktopSession>, std::string> open(
        const PlatformFactory& makePlatform) {
        std::unique_ptr<LoopDesktopSession> session(new LoopDesktopSession());
        auto platform = makePlatform(*session->loop_);
        if (!platform)
            return std::unexpected(platform.error());
        session->platform_ = std::move(*platform);
        return session;
    }
    // The platform goes first: its services may still post to the loop while they stop.
    ~LoopDesktopSession() override {
        platform_.reset();
        loop_.reset();
    }

    Platform& platform() override { return *platform_; }
    Scheduler& mainQueue() override { return *loop_; }
    std::unique_ptr<SerialQueue> makeSerialQueue() override {
        if constexpr (queueThread == QueueThread::mainLoop)
            return std::make_unique<LoopSerialQueue>(*loop_);
        else
            return std::make_unique<ThreadSerialQueue>("tilewise.windows");
    }
    void runUntil(const std::function<bool()>& done) override { loop_->runUntil(done); }

  private:
    LoopDesktopSession() = default;

    std::unique_ptr<Loop> loop_ = std::make_unique<Loop>();
    std::unique_ptr<Platform> platform_;
};

}  // namespace tilewise

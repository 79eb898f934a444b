#pragma once

#include <expected>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Platform.h"
#include "platform/Scheduler.h"
#include "platform/SerialQueue.h"

namespace tilewise {

/// What a subcommand that touches windows works with: one backend and the main-thread
/// machinery its services report through.
class DesktopSession {
  public:
    DesktopSession() = default;
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;
    virtual ~DesktopSession() = default;

    virtual Platform& platform() = 0;
    /// The main queue on which services deliver their completions.
    virtual Scheduler& mainQueue() = 0;
    /// A new serial queue for the work that can block on another application.
    virtual std::unique_ptr<SerialQueue> makeSerialQueue() = 0;
    /// Runs the main loop until `done` holds.
    virtual void runUntil(const std::function<bool()>& done) = 0;
};

/// Opens a session on the named backend ("x11" or "sim"); on failure, the reason in a sentence.
using DesktopLauncher = std::function<std::expected<std::unique_ptr<DesktopSession>, std::string>(
    std::string_view backend)>;

}  // namespace tilewise

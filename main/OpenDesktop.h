#pragma once

#include <expected>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "app/LoopDesktopSession.h"

namespace tilewise {

/// What makes the named backend ("x11" or "sim") on a main queue; the sentence when there is
/// no such backend.
std::expected<std::function<std::expected<std::unique_ptr<Platform>, std::string>(Scheduler&)>,
              std::string>
platformFactory(std::string_view backend);

/// The desktop session on the named backend, run by the main loop `Loop`, its serial queues
/// on `queueThread`; the sentence on failure.
template <MainLoop Loop, QueueThread queueThread>
std::expected<std::unique_ptr<DesktopSession>, std::string> openDesktop(std::string_view backend) {
    const auto factory = platformFactory(backend);
    if (!factory)
        return std::unexpected(factory.error());
    return LoopDesktopSession<Loop, queueThread>::open(*factory);
}

}  // namespace tilewise

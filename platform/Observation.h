#pragma once

#include <atomic>
#include <cstdint>

namespace tilewise {

/// Names one registered notification observer, for removing it again. Backends never hand out
/// `kNoObserver`; they return it only where an observation could not be set up.
using ObserverId = std::uint64_t;
inline constexpr ObserverId kNoObserver = 0;

/// A new id, never handed out before in this process, so that the ids of different
/// registries never collide.
inline ObserverId newObserverId() {
    static std::atomic<ObserverId> next{kNoObserver + 1};
    return next++;
}

}  // namespace tilewise

#pragma once

#include <cstdint>

namespace tilewise {

/// Names one registered notification observer, for removing it again. Backends never hand out
/// `kNoObserver`; they return it only where an observation could not be set up.
using ObserverId = std::uint64_t;
inline constexpr ObserverId kNoObserver = 0;

}  // namespace tilewise

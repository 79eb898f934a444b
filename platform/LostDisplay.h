#pragma once

namespace tilewise::LostDisplay {

/// The status a process ends with when the display it works on went away.
inline constexpr int kExitStatus = 1;

using Handler = void (*)();

/// Sets what the process does, besides failing every later request, once a backend has lost
/// its display; returns the handler it replaces. The resident application ends its event loop
/// with `kExitStatus`, so that it shuts down and saves as when asked to quit; a one-off command
/// sets none: its requests fail and say so. The handler runs on whichever thread noticed.
Handler setHandler(Handler handler);

/// Called by a backend that lost its display: runs the handler, if one is set.
void notify();

}  // namespace tilewise::LostDisplay

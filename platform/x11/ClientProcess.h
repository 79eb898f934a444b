#pragma once

#include <X11/Xlib.h>

#include <optional>

#include "platform/Workspace.h"
#include "platform/x11/Atoms.h"
#include "platform/x11/Properties.h"

namespace tilewise::x11 {

/// Which process owns a client window. The window's own word (_NET_WM_PID) counts only when
/// the window was made on this host (WM_CLIENT_MACHINE), else the X server says which local
/// process made the connection (the X Resource extension). A window whose process cannot be
/// known (a remote client, a server without the extension) still belongs to an application:
/// one of its own, whose process id is a stand-in made from the window's id, negative so that
/// it never names a real process.
namespace ClientProcess {

/// The reads that tell the owner of `client`, sent at once so that they can share a round trip
/// with other reads.
class OwnerRead {
  public:
    OwnerRead(Display* display, const Atoms& atoms, Window client);

    /// A real process id, or the stand-in of the window. Absent when the window is gone.
    std::optional<ProcessId> owner();

  private:
    Display* display_;
    Window client_;
    Properties::PendingRead machine_;
    Properties::PendingRead pid_;
};

/// The window whose owner was asked about last in this process, on any connection: usually the
/// active window, so that another connection reading the active window can ask about its owner
/// in the same round trip, on a guess.
Window lastAsked();

/// The owner of `client`, as `OwnerRead` tells it.
std::optional<ProcessId> of(Display* display, const Atoms& atoms, Window client);

/// The window whose stand-in `pid` is; absent for a real process id.
std::optional<Window> standInWindow(ProcessId pid);

/// Whether the process runs, or, for a stand-in, whether its window still exists.
bool exists(Display* display, ProcessId pid);

}  // namespace ClientProcess
}  // namespace tilewise::x11

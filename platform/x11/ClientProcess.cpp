#include "platform/x11/ClientProcess.h"

#include <X11/Xatom.h>
#include <X11/extensions/XRes.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <string>

#include "platform/SharedLibrary.h"
#include "platform/x11/ErrorTrap.h"
#include "platform/x11/Properties.h"

namespace tilewise::x11 {
namespace {

// The X Resource extension's library, opened at the first window that names no process.
struct ResourceLibrary {
    SharedLibrary library{"libXRes.so.1"};
    TILEWISE_LIBRARY_FUNCTION(XResQueryExtension);
    TILEWISE_LIBRARY_FUNCTION(XResQueryClientIds);
    TILEWISE_LIBRARY_FUNCTION(XResGetClientIdType);
    TILEWISE_LIBRARY_FUNCTION(XResGetClientPid);
    TILEWISE_LIBRARY_FUNCTION(XResClientIdsDestroy);
};

const ResourceLibrary& resources() {
    static const ResourceLibrary library;
    return library;
}

bool isThisHost(const std::optional<std::string>& machine) {
    if (!machine || machine->empty())
        return true;
    std::array<char, 256> host{};
    if (gethostname(host.data(), host.size() - 1) != 0)
        return false;
    return *machine == host.data();
}

// The process on the other end of the connection that created `client`, as the server saw it.
std::optional<ProcessId> connectionProcess(Display* display, Window client) {
    const ResourceLibrary& xres = resources();
    int event = 0, error = 0;
    if (!xres.library.complete() || Properties::noticeLostServer(display) ||
        !xres.XResQueryExtension(display, &event, &error)) {
        return std::nullopt;
    }
    XResClientIdSpec wanted{client, XRES_CLIENT_ID_PID_MASK};
    long count = 0;
    XResClientIdValue* values = nullptr;
    ErrorTrap trap(display);
    if (xres.XResQueryClientIds(display, 1, &wanted, &count, &values) != Success || trap.check()) {
        return std::nullopt;
    }
    std::optional<ProcessId> pid;
    for (long index = 0; index < count; ++index) {
        if (xres.XResGetClientIdType(&values[index]) == XRES_CLIENT_ID_PID) {
            const pid_t found = xres.XResGetClientPid(&values[index]);
            if (found > 0)
                pid = static_cast<ProcessId>(found);
        }
    }
    xres.XResClientIdsDestroy(count, values);
    return pid;
}

bool windowExists(Display* display, Window window) {
    if (Properties::noticeLostServer(display))
        return false;
    XWindowAttributes attributes;
    ErrorTrap trap(display);
    return XGetWindowAttributes(display, window, &attributes) != 0 && !trap.check();
}

std::atomic<Window> lastAskedWindow{None};

}  // namespace

ClientProcess::OwnerRead::OwnerRead(Display* display, const Atoms& atoms, Window client)
    : display_(display),
      client_(client),
      machine_(display, client, atoms.wmClientMachine, AnyPropertyType),
      pid_(display, client, atoms.netWmPid, XA_CARDINAL) {
    lastAskedWindow.store(client, std::memory_order_relaxed);
}

Window ClientProcess::lastAsked() {
    return lastAskedWindow.load(std::memory_order_relaxed);
}

std::optional<ProcessId> ClientProcess::OwnerRead::owner() {
    if (!machine_.windowExisted())
        return std::nullopt;
    if (isThisHost(machine_.text())) {
        if (const auto pid = pid_.numbers(XA_CARDINAL); pid && !pid->empty() && pid->front() > 0)
            return static_cast<ProcessId>(pid->front());
        if (const auto pid = connectionProcess(display_, client_))
            return pid;
    }
    // X resource ids have 29 bits, so every window has a stand-in.
    return -static_cast<ProcessId>(client_);
}

std::optional<ProcessId> ClientProcess::of(Display* display, const Atoms& atoms, Window client) {
    return OwnerRead(display, atoms, client).owner();
}

std::optional<Window> ClientProcess::standInWindow(ProcessId pid) {
    if (pid >= 0)
        return std::nullopt;
    return static_cast<Window>(-static_cast<std::int64_t>(pid));
}

bool ClientProcess::exists(Display* display, ProcessId pid) {
    if (const auto window = standInWindow(pid))
        return windowExists(display, *window);
    return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM);
}

}  // namespace tilewise::x11

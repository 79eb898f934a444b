#include "platform/x11/X11Workspace.h"

#include "platform/x11/XSettings.h"

#include <X11/Xatom.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/x11/ClientProcess.h"
#include "platform/x11/Properties.h"

extern char** environ;

namespace tilewise::x11 {
namespace {

bool runDetached(const std::vector<std::string>& arguments) {
    std::vector<char*> pointers;
    for (const auto& argument : arguments)
        pointers.push_back(const_cast<char*>(argument.c_str()));
    pointers.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawnp(&pid, pointers[0], nullptr, nullptr, pointers.data(), environ) != 0) {
        return false;
    }
    // xdg-open hands the work to the desktop's handler and exits; its status tells success.
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

X11Workspace::X11Workspace(Display* display, const Atoms& atoms, X11EventLoop& events,
                           Scheduler& mainQueue)
    : display_(display), atoms_(atoms), events_(events), mainQueue_(mainQueue) {
    XSelectInput(display_, DefaultRootWindow(display_), PropertyChangeMask);
    listener_ = events_.listen([this](const XEvent& event) { handle(event); });
}

X11Workspace::~X11Workspace() {
    events_.unlisten(listener_);
}

std::optional<RunningApplication> X11Workspace::applicationOf(Window client) {
    ClientProcess::OwnerRead owner(display_, atoms_, client);
    Properties::PendingRead windowClass(display_, client, XA_WM_CLASS, XA_STRING);
    return applicationFrom(owner, windowClass);
}

std::optional<RunningApplication> X11Workspace::applicationFrom(
    ClientProcess::OwnerRead& owner, Properties::PendingRead& windowClass) {
    const auto pid = owner.owner();
    if (!pid)
        return std::nullopt;
    RunningApplication application;
    application.processIdentifier = *pid;
    application.bundleIdentifier = windowClass.windowClass();
    application.localizedName = application.bundleIdentifier;
    return application;
}

// Everything asked of the active window goes out together: one round trip for the lot.
std::optional<RunningApplication> X11Workspace::frontmostApplication() {
    const Window root = DefaultRootWindow(display_);
    const auto active = Properties::window(display_, root, atoms_.netActiveWindow);
    if (!active || *active == None)
        return std::nullopt;
    Properties::PendingRead clients(display_, root, atoms_.netClientList, XA_WINDOW);
    Properties::PendingRead types(display_, *active, atoms_.netWmWindowType, XA_ATOM);
    ClientProcess::OwnerRead owner(display_, atoms_, *active);
    Properties::PendingRead windowClass(display_, *active, XA_WM_CLASS, XA_STRING);
    const auto listed = clients.numbers(XA_WINDOW).value_or(std::vector<long>{});
    if (std::find(listed.begin(), listed.end(), static_cast<long>(*active)) == listed.end() ||
        isDesktopPart(types.numbers(XA_ATOM))) {
        return std::nullopt;
    }
    return applicationFrom(owner, windowClass);
}

// The desktop and the docks are part of the desktop itself, not applications to arrange.
bool X11Workspace::isDesktopPart(const std::optional<std::vector<long>>& types) const {
    return types && std::ranges::any_of(*types, [&](long type) {
               return static_cast<Atom>(type) == atoms_.netWmWindowTypeDesktop ||
                      static_cast<Atom>(type) == atoms_.netWmWindowTypeDock;
           });
}

ProcessId X11Workspace::ownProcessIdentifier() {
    return static_cast<ProcessId>(getpid());
}

std::vector<RunningApplication> X11Workspace::runningApplications() {
    const auto clients =
        Properties::windows(display_, DefaultRootWindow(display_), atoms_.netClientList);
    std::vector<RunningApplication> applications;
    for (const Window client : clients.value_or(std::vector<Window>{})) {
        const auto application = applicationOf(client);
        const bool known = application && std::any_of(applications.begin(), applications.end(),
                                                      [&](const RunningApplication& other) {
                                                          return other.processIdentifier ==
                                                                 application->processIdentifier;
                                                      });
        if (application && !known)
            applications.push_back(*application);
    }
    return applications;
}

bool X11Workspace::processExists(ProcessId pid) {
    return ClientProcess::exists(display_, pid);
}

// Which application was in front matters only to those told of changes: a one-off command
// never asks for it.
ObserverId X11Workspace::observeApplicationActivation(
    std::function<void(const RunningApplication&)> handler) {
    if (activationObservers_.empty()) {
        const auto front = frontmostApplication();
        lastFrontmost_ = front ? std::optional{front->processIdentifier} : std::nullopt;
    }
    return activationObservers_.add(std::move(handler));
}

ObserverId X11Workspace::observeRunningApplications(std::function<void()> handler) {
    return listObservers_.add(std::move(handler));
}

ObserverId X11Workspace::watchProcessExit(ProcessId pid, std::function<void()> handler) {
    // A pidfd becomes readable when the process exits, whoever its parent is.
    const int descriptor = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (descriptor < 0) {
        if (errno != ESRCH)
            return kNoObserver;
        const auto id = newObserverId();
        mainQueue_.post(std::move(handler));
        return id;
    }
    const auto id = newObserverId();
    auto watch = mainQueue_.watchReadable(descriptor, [this, id, handler = std::move(handler)] {
        // Removing the observer destroys this callback with its watch.
        const auto callback = handler;
        removeObserver(id);
        callback();
    });
    exitWatches_.try_emplace(id, descriptor, std::move(watch));
    return id;
}

void X11Workspace::removeObserver(ObserverId id) {
    activationObservers_.remove(id);
    listObservers_.remove(id);
    exitWatches_.erase(id);
}

// The watch ends before its descriptor closes: a number in use may be reused at once.
X11Workspace::ExitWatch::~ExitWatch() {
    watch.reset();
    ::close(descriptor);
}

bool X11Workspace::openURL(std::string_view url) {
    return runDetached({"xdg-open", std::string(url)});
}

bool X11Workspace::revealFile(std::string_view path) {
    return runDetached({"xdg-open", std::filesystem::path(path).parent_path().string()});
}

void X11Workspace::beep() {
    XBell(display_, 0);
    XFlush(display_);
}

bool X11Workspace::shouldReduceMotion() {
    const char* setting = std::getenv("TILEWISE_REDUCE_MOTION");
    if (setting != nullptr && std::string_view(setting) == "1")
        return true;
    // GNOME's settings daemon and xsettingsd publish the desktop's animation switch here.
    return XSettings::integer(display_, "Gtk/EnableAnimations") == 0;
}

void X11Workspace::handle(const XEvent& event) {
    if (event.type != PropertyNotify || event.xproperty.window != DefaultRootWindow(display_))
        return;
    if (event.xproperty.atom == atoms_.netClientList) {
        listObservers_.publish();
    }
    if (event.xproperty.atom != atoms_.netActiveWindow || activationObservers_.empty())
        return;
    const auto front = frontmostApplication();
    if (!front || front->processIdentifier == lastFrontmost_)
        return;
    lastFrontmost_ = front->processIdentifier;
    activationObservers_.publish(*front);
}

}  // namespace tilewise::x11

#include "platform/x11/X11Accessibility.h"

#include <signal.h>

#include <algorithm>
#include <cerrno>

#include "platform/x11/Properties.h"

namespace tilewise::x11 {
namespace {

// The macOS default for an element nobody set a timeout on.
constexpr std::chrono::milliseconds kDefaultMessagingTimeout{6000};

bool processExists(std::int32_t pid) {
    return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM);
}

AXElement windowElement(Window window) {
    return {AXElement::Kind::window, window, nullptr};
}

AXError faultStatus(WindowFault fault) {
    return fault == WindowFault::vanished ? kAXErrorInvalidUIElement : kAXErrorCannotComplete;
}

}  // namespace

X11Accessibility::X11Accessibility(X11Connection connection)
    : connection_(std::move(connection)),
      atoms_(Atoms::intern(connection_.display())),
      frame_(connection_.display(), atoms_) {}

bool X11Accessibility::isProcessTrusted() {
    const std::lock_guard lock(mutex_);
    Display* display = connection_.display();
    // A manager that exited can leave its check property behind, naming a dead window.
    const auto check =
        Properties::window(display, DefaultRootWindow(display), atoms_.netSupportingWmCheck);
    return check && Properties::window(display, *check, atoms_.netSupportingWmCheck) == check;
}

AXElement X11Accessibility::createApplication(std::int32_t pid) {
    return {AXElement::Kind::application,
            static_cast<std::uint64_t>(static_cast<std::uint32_t>(pid)), nullptr};
}

AXError X11Accessibility::setMessagingTimeout(const AXElement& element, float seconds) {
    if (seconds < 0)
        return kAXErrorIllegalArgument;
    const std::lock_guard lock(mutex_);
    if (element.kind == AXElement::Kind::window && !frame_.read(element.id)) {
        return kAXErrorInvalidUIElement;
    }
    const auto key = hash(element);
    if (seconds == 0) {
        timeouts_.erase(key);
    } else {
        timeouts_[key] = std::chrono::milliseconds(static_cast<long>(seconds * 1000));
    }
    return kAXErrorSuccess;
}

std::chrono::milliseconds X11Accessibility::timeoutFor(const AXElement& element) {
    const auto found = timeouts_.find(hash(element));
    return found == timeouts_.end() ? kDefaultMessagingTimeout : found->second;
}

AXCopyResult X11Accessibility::copyAttributeValue(const AXElement& element,
                                                  std::string_view attribute) {
    const std::lock_guard lock(mutex_);
    if (connection_.broken())
        return {kAXErrorCannotComplete, std::nullopt};
    switch (element.kind) {
        case AXElement::Kind::application:
            return applicationAttribute(static_cast<std::int32_t>(element.id), attribute);
        case AXElement::Kind::window:
            return windowAttribute(element.id, attribute);
        case AXElement::Kind::other:
            break;
    }
    return {kAXErrorInvalidUIElement, std::nullopt};
}

std::vector<Window> X11Accessibility::windowsOf(std::int32_t pid) {
    Display* display = connection_.display();
    const Atom stacking = XInternAtom(display, "_NET_CLIENT_LIST_STACKING", False);
    auto clients = Properties::windows(display, connection_.root(), stacking);
    if (!clients)
        clients = Properties::windows(display, connection_.root(), atoms_.netClientList);
    std::vector<Window> owned;
    for (const Window client : clients.value_or(std::vector<Window>{})) {
        if (Properties::cardinal(display, client, atoms_.netWmPid) == pid)
            owned.push_back(client);
    }
    std::reverse(owned.begin(), owned.end());
    return owned;
}

AXCopyResult X11Accessibility::applicationAttribute(std::int32_t pid, std::string_view attribute) {
    if (!processExists(pid))
        return {kAXErrorInvalidUIElement, std::nullopt};
    const auto windows = windowsOf(pid);
    if (attribute == AXAttribute::windows) {
        AXElementArray elements;
        for (const Window window : windows)
            elements.push_back(windowElement(window));
        return {kAXErrorSuccess, AXValue{elements}};
    }
    if (attribute == AXAttribute::focusedWindow) {
        const auto active =
            Properties::window(connection_.display(), connection_.root(), atoms_.netActiveWindow);
        if (active && std::find(windows.begin(), windows.end(), *active) != windows.end()) {
            return {kAXErrorSuccess, AXValue{windowElement(*active)}};
        }
        return {kAXErrorNoValue, std::nullopt};
    }
    if (attribute == AXAttribute::mainWindow) {
        // The application's top-most window that is not minimized.
        for (const Window window : windows) {
            if (!hasState(window, atoms_.netWmStateHidden)) {
                return {kAXErrorSuccess, AXValue{windowElement(window)}};
            }
        }
        return {kAXErrorNoValue, std::nullopt};
    }
    return {kAXErrorAttributeUnsupported, std::nullopt};
}

bool X11Accessibility::hasState(Window window, Atom state) {
    const auto states = Properties::atoms(connection_.display(), window, atoms_.netWmState);
    return states && std::find(states->begin(), states->end(), state) != states->end();
}

// Without _NET_WM_ALLOWED_ACTIONS the manager has not said, and everything is allowed.
bool X11Accessibility::allows(Window window, Atom action) {
    const auto actions =
        Properties::atoms(connection_.display(), window, atoms_.netWmAllowedActions);
    return !actions || std::find(actions->begin(), actions->end(), action) != actions->end();
}

AXCopyResult X11Accessibility::windowAttribute(Window window, std::string_view attribute) {
    const auto frame = frame_.read(window);
    if (!frame)
        return {kAXErrorInvalidUIElement, std::nullopt};
    if (attribute == AXAttribute::position)
        return {kAXErrorSuccess, AXValue{frame->origin}};
    if (attribute == AXAttribute::size)
        return {kAXErrorSuccess, AXValue{frame->size}};
    if (attribute == AXAttribute::minimized) {
        return {kAXErrorSuccess, AXValue{hasState(window, atoms_.netWmStateHidden)}};
    }
    if (attribute == AXAttribute::fullScreen) {
        return {kAXErrorSuccess, AXValue{hasState(window, atoms_.netWmStateFullscreen)}};
    }
    if (attribute == AXAttribute::subrole) {
        Display* display = connection_.display();
        const auto types = Properties::atoms(display, window, atoms_.netWmWindowType);
        Window transientFor = None;
        const bool transient = XGetTransientForHint(display, window, &transientFor) != 0;
        // An untyped window is a dialog when it belongs to another window, else a normal one.
        const Atom type = types && !types->empty() ? types->front()
                          : transient              ? atoms_.netWmWindowTypeDialog
                                                   : atoms_.netWmWindowTypeNormal;
        return {kAXErrorSuccess,
                AXValue{std::string(type == atoms_.netWmWindowTypeNormal   ? "AXStandardWindow"
                                    : type == atoms_.netWmWindowTypeDialog ? "AXDialog"
                                                                           : "AXUnknown")}};
    }
    return {kAXErrorAttributeUnsupported, std::nullopt};
}

AXSettableResult X11Accessibility::isAttributeSettable(const AXElement& element,
                                                       std::string_view attribute) {
    const std::lock_guard lock(mutex_);
    if (element.kind != AXElement::Kind::window)
        return {kAXErrorAttributeUnsupported, false};
    const Window window = element.id;
    if (!frame_.read(window))
        return {kAXErrorInvalidUIElement, false};
    if (attribute == AXAttribute::position)
        return {kAXErrorSuccess, allows(window, atoms_.netWmActionMove)};
    if (attribute == AXAttribute::size) {
        return {kAXErrorSuccess,
                frame_.isResizable(window) && allows(window, atoms_.netWmActionResize)};
    }
    return {kAXErrorSuccess, false};
}

AXError X11Accessibility::setAttributeValue(const AXElement& element, std::string_view attribute,
                                            const AXValue& value) {
    const std::lock_guard lock(mutex_);
    if (element.kind != AXElement::Kind::window)
        return kAXErrorAttributeUnsupported;
    std::optional<Point> origin;
    std::optional<Size> size;
    if (attribute == AXAttribute::position) {
        const auto* point = std::get_if<Point>(&value);
        if (point == nullptr)
            return kAXErrorIllegalArgument;
        origin = *point;
    } else if (attribute == AXAttribute::size) {
        const auto* extent = std::get_if<Size>(&value);
        if (extent == nullptr)
            return kAXErrorIllegalArgument;
        size = *extent;
    } else {
        return kAXErrorAttributeUnsupported;
    }
    const auto written = frame_.write(element.id, origin, size, timeoutFor(element));
    return written ? kAXErrorSuccess : faultStatus(written.error());
}

std::uint64_t X11Accessibility::hash(const AXElement& element) {
    return element.id * 4 + static_cast<std::uint64_t>(element.kind);
}

}  // namespace tilewise::x11

#include "platform/x11/X11Accessibility.h"

#include <X11/Xatom.h>

#include <algorithm>

#include "platform/x11/ClientProcess.h"
#include "platform/x11/Properties.h"

namespace tilewise::x11 {
namespace {

// The macOS default for an element nobody set a timeout on.
constexpr std::chrono::milliseconds kDefaultMessagingTimeout{6000};

AXElement windowElement(Window window) {
    return {AXElement::Kind::window, window, nullptr};
}

AXError faultStatus(WindowFault fault) {
    return fault == WindowFault::vanished ? kAXErrorInvalidUIElement : kAXErrorCannotComplete;
}

}  // namespace

X11Accessibility::X11Accessibility(X11Connection connection, const Atoms& atoms)
    : connection_(std::move(connection)), atoms_(atoms), frame_(connection_.display(), atoms_) {}

bool X11Accessibility::isProcessTrusted() {
    const std::lock_guard lock(mutex_);
    return frame_.managerRuns();
}

AXElement X11Accessibility::createApplication(std::int32_t pid) {
    return {AXElement::Kind::application,
            static_cast<std::uint64_t>(static_cast<std::uint32_t>(pid)), nullptr};
}

AXError X11Accessibility::setMessagingTimeout(const AXElement& element, float seconds) {
    const std::lock_guard lock(mutex_);
    positionRead_.reset();
    if (seconds < 0)
        return kAXErrorIllegalArgument;
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

// A server lost during a call makes every read look like a vanished window; it is the server
// that did not answer.
AXCopyResult X11Accessibility::copyAttributeValue(const AXElement& element,
                                                  std::string_view attribute) {
    const std::lock_guard lock(mutex_);
    auto result = copy(element, attribute);
    if (connection_.broken())
        return {kAXErrorCannotComplete, std::nullopt};
    return result;
}

AXCopyResult X11Accessibility::copy(const AXElement& element, std::string_view attribute) {
    if (connection_.broken())
        return {kAXErrorCannotComplete, std::nullopt};
    switch (element.kind) {
        case AXElement::Kind::application:
            positionRead_.reset();
            return applicationAttribute(static_cast<std::int32_t>(element.id), attribute);
        case AXElement::Kind::window:
            return windowAttribute(element.id, attribute);
        case AXElement::Kind::other:
            break;
    }
    return {kAXErrorInvalidUIElement, std::nullopt};
}

std::vector<Window> X11Accessibility::windowsOf(std::int32_t pid) {
    if (const auto window = ClientProcess::standInWindow(pid))
        return {*window};
    Display* display = connection_.display();
    auto clients = Properties::windows(display, connection_.root(), atoms_.netClientListStacking);
    if (!clients)
        clients = Properties::windows(display, connection_.root(), atoms_.netClientList);
    std::vector<Window> owned;
    for (const Window client : clients.value_or(std::vector<Window>{})) {
        if (ClientProcess::of(display, atoms_, client) == pid)
            owned.push_back(client);
    }
    std::reverse(owned.begin(), owned.end());
    return owned;
}

// Only the active window is looked at: the usual question needs no walk over every client. The
// workspace has usually just asked who owns that same window, so its owner is asked for in the
// same round trip as the active window, on that guess.
std::optional<Window> X11Accessibility::focusedWindowOf(std::int32_t pid) {
    Display* display = connection_.display();
    Properties::PendingRead activeRead(display, connection_.root(), atoms_.netActiveWindow,
                                       XA_WINDOW);
    const Window guess = ClientProcess::lastAsked();
    std::optional<ClientProcess::OwnerRead> guessed;
    if (guess != None)
        guessed.emplace(display, atoms_, guess);
    const auto active = activeRead.numbers(XA_WINDOW);
    if (!active || active->empty() || active->front() == None)
        return std::nullopt;
    const auto window = static_cast<Window>(active->front());
    const auto owner =
        guessed && window == guess ? guessed->owner() : ClientProcess::of(display, atoms_, window);
    if (owner != pid)
        return std::nullopt;
    return window;
}

AXCopyResult X11Accessibility::applicationAttribute(std::int32_t pid, std::string_view attribute) {
    if (!ClientProcess::exists(connection_.display(), pid))
        return {kAXErrorInvalidUIElement, std::nullopt};
    if (attribute == AXAttribute::focusedWindow) {
        if (const auto window = focusedWindowOf(pid))
            return {kAXErrorSuccess, AXValue{windowElement(*window)}};
        return {kAXErrorNoValue, std::nullopt};
    }
    if (attribute == AXAttribute::windows) {
        AXElementArray elements;
        for (const Window window : windowsOf(pid))
            elements.push_back(windowElement(window));
        return {kAXErrorSuccess, AXValue{elements}};
    }
    if (attribute == AXAttribute::mainWindow) {
        // The application's top-most window that is not minimized.
        for (const Window window : windowsOf(pid)) {
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

AXCopyResult X11Accessibility::windowAttribute(Window window, std::string_view attribute) {
    if (attribute == AXAttribute::position || attribute == AXAttribute::size) {
        // A frame is read as its position and then its size: both halves come from one reading,
        // so that they always describe the same frame.
        const bool paired =
            attribute == AXAttribute::size && positionRead_ && positionRead_->first == window;
        const auto frame =
            paired ? std::expected<Rect, WindowFault>{positionRead_->second} : frame_.read(window);
        positionRead_.reset();
        if (!frame)
            return {kAXErrorInvalidUIElement, std::nullopt};
        if (attribute == AXAttribute::size)
            return {kAXErrorSuccess, AXValue{frame->size}};
        positionRead_.emplace(window, *frame);
        return {kAXErrorSuccess, AXValue{frame->origin}};
    }
    positionRead_.reset();
    const auto taken = frame_.takeSnapshot(window);
    if (!taken)
        return {kAXErrorInvalidUIElement, std::nullopt};
    if (attribute == AXAttribute::minimized)
        return {kAXErrorSuccess, AXValue{taken->hasState(atoms_.netWmStateHidden)}};
    if (attribute == AXAttribute::fullScreen)
        return {kAXErrorSuccess, AXValue{taken->hasState(atoms_.netWmStateFullscreen)}};
    if (attribute == AXAttribute::subrole) {
        Display* display = connection_.display();
        const auto types = Properties::atoms(display, window, atoms_.netWmWindowType);
        if (Properties::noticeLostServer(display))
            return {kAXErrorCannotComplete, std::nullopt};
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
    positionRead_.reset();
    const auto result = settable(element, attribute);
    if (connection_.broken())
        return {kAXErrorCannotComplete, false};
    return result;
}

AXSettableResult X11Accessibility::settable(const AXElement& element, std::string_view attribute) {
    if (element.kind != AXElement::Kind::window)
        return {kAXErrorAttributeUnsupported, false};
    const auto taken = frame_.takeSnapshot(element.id);
    if (!taken)
        return {kAXErrorInvalidUIElement, false};
    if (attribute == AXAttribute::position)
        return {kAXErrorSuccess, taken->allows(atoms_.netWmActionMove)};
    if (attribute == AXAttribute::size) {
        return {kAXErrorSuccess,
                !taken->sizeHints.isFixed() && taken->allows(atoms_.netWmActionResize)};
    }
    return {kAXErrorSuccess, false};
}

AXError X11Accessibility::setAttributeValue(const AXElement& element, std::string_view attribute,
                                            const AXValue& value) {
    const std::lock_guard lock(mutex_);
    positionRead_.reset();
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
    if (connection_.broken())
        return kAXErrorCannotComplete;
    return written ? kAXErrorSuccess : faultStatus(written.error());
}

// The manager decides every size; only the client's declared limits make one its own. A window
// that is gone limits nothing of its own any more: the interface's answer for it is true.
bool X11Accessibility::applicationLimitsSize(const AXElement& window, Size requested, Size actual) {
    const std::lock_guard lock(mutex_);
    positionRead_.reset();
    if (window.kind != AXElement::Kind::window)
        return true;
    return frame_.hintsAccountFor(window.id, requested, actual).value_or(true);
}

std::uint64_t X11Accessibility::hash(const AXElement& element) {
    return element.id * 4 + static_cast<std::uint64_t>(element.kind);
}

}  // namespace tilewise::x11

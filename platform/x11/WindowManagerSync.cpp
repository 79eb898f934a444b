#include "platform/x11/WindowManagerSync.h"

#include <poll.h>

#include <algorithm>

#include "platform/x11/ErrorTrap.h"
#include "platform/x11/Properties.h"

namespace tilewise::x11 {
namespace {

// Managers that answer do so within milliseconds; one that stays silent this long never will.
constexpr std::chrono::milliseconds kFirstAnswerTimeout{250};
// A manager that acted on part of a request sends the rest in the same burst; on a loaded
// machine the burst can be split by a scheduling pause (seen with fluxbox restoring a
// maximized window before moving it), so the quiet period is generous. Only managers that
// ignore the probe ever wait for it, and never longer than the messaging timeout.
constexpr std::chrono::milliseconds kQuietAfterProgress{200};

}  // namespace

WindowManagerSync::WindowManagerSync(Display* display, const Atoms& atoms)
    : display_(display), atoms_(atoms) {
    // Never mapped: the manager only ever estimates its frame.
    probe_ = XCreateWindow(display_, DefaultRootWindow(display_), -1, -1, 1, 1, 0, CopyFromParent,
                           InputOnly, CopyFromParent, 0, nullptr);
    XSelectInput(display_, probe_, PropertyChangeMask);
    refresh();
}

WindowManagerSync::~WindowManagerSync() {
    ErrorTrap trap(display_);
    XDestroyWindow(display_, probe_);
}

void WindowManagerSync::refresh() {
    const Window root = DefaultRootWindow(display_);
    // A manager that exited can leave its check property behind, naming a dead window.
    const auto check = Properties::window(display_, root, atoms_.netSupportingWmCheck);
    managerRuns_ =
        check && Properties::window(display_, *check, atoms_.netSupportingWmCheck) == check;
    const Window manager = managerRuns_ ? *check : None;
    if (manager == manager_)
        return;
    manager_ = manager;
    supported_ =
        managerRuns_
            ? Properties::atoms(display_, root, atoms_.netSupported).value_or(std::vector<Atom>{})
            : std::vector<Atom>{};
    unansweredProbes_ = 0;
    managerAnswers_ = false;
    if (supports(atoms_.netRequestFrameExtents)) {
        // Whether this manager answers at all is learnt once, from a probe of our own.
        managerAnswers_ = true;
        managerAnswers_ =
            waitForManager(kFirstAnswerTimeout, [](const XEvent&) { return Sign::unrelated; });
    }
}

bool WindowManagerSync::supports(Atom feature) const {
    return std::find(supported_.begin(), supported_.end(), feature) != supported_.end();
}

void WindowManagerSync::send(Window window, Atom type, const std::array<long, 5>& data) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    std::copy(data.begin(), data.end(), event.xclient.data.l);
    XSendEvent(display_, DefaultRootWindow(display_), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

bool WindowManagerSync::nextEvent(XEvent& event, std::chrono::steady_clock::time_point deadline) {
    while (XPending(display_) == 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd descriptor{ConnectionNumber(display_), POLLIN, 0};
        if (left.count() <= 0 || poll(&descriptor, 1, static_cast<int>(left.count())) <= 0) {
            return false;
        }
    }
    XNextEvent(display_, &event);
    return true;
}

bool WindowManagerSync::isProbeAnswer(const XEvent& event) const {
    return event.type == PropertyNotify && event.xproperty.window == probe_ &&
           event.xproperty.atom == atoms_.netFrameExtents &&
           event.xproperty.state == PropertyNewValue;
}

void WindowManagerSync::discardPendingEvents() {
    XSync(display_, False);
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (isProbeAnswer(event) && unansweredProbes_ > 0)
            --unansweredProbes_;
    }
}

bool WindowManagerSync::waitForManager(std::chrono::milliseconds timeout,
                                       const std::function<Sign(const XEvent&)>& onEvent) {
    if (!managerRuns_) {
        XSync(display_, False);
        return true;
    }
    const bool canProbe = managerAnswers_;
    if (canProbe) {
        send(probe_, atoms_.netRequestFrameExtents, {0, 0, 0, 0, 0});
        ++unansweredProbes_;
    }
    XFlush(display_);
    auto deadline = std::chrono::steady_clock::now() + timeout;
    bool progressed = false;
    XEvent event;
    while (nextEvent(event, deadline)) {
        if (isProbeAnswer(event)) {
            // An answer to a probe that timed out earlier only brings the count down.
            if (--unansweredProbes_ <= 0) {
                unansweredProbes_ = 0;
                return true;
            }
            continue;
        }
        const Sign sign = onEvent(event);
        if (canProbe || sign == Sign::unrelated)
            continue;
        if (sign == Sign::done)
            return true;
        progressed = true;
        deadline = std::min(deadline, std::chrono::steady_clock::now() + kQuietAfterProgress);
    }
    return progressed;
}

}  // namespace tilewise::x11

#include "platform/x11/WindowManagerSync.h"

#include <X11/Xatom.h>
#include <X11/Xlib-xcb.h>
#include <poll.h>

#include <algorithm>
#include <cstdlib>

#include "platform/x11/Properties.h"

namespace tilewise::x11 {
namespace {

// Managers that answer do so within milliseconds, though KWin may take a quarter of a second over
// a new client's first request; one that stays silent this long never will.
constexpr std::chrono::milliseconds kLongestAnswer{1000};
// A manager that acted on part of a request sends the rest in the same burst; on a loaded
// machine the burst can be split by a scheduling pause (seen with fluxbox restoring a
// maximized window before moving it), so the quiet period is generous. Only managers that
// ignore the probe ever wait for it, and never longer than the messaging timeout.
constexpr std::chrono::milliseconds kQuietAfterProgress{200};

std::optional<long> firstOf(const std::optional<std::vector<long>>& values) {
    if (!values || values->empty())
        return std::nullopt;
    return values->front();
}

}  // namespace

WindowManagerSync::WindowManagerSync(Display* display, const Atoms& atoms)
    : display_(display), atoms_(atoms) {
    refresh();
}

// The probe windows go with the connection: a destructor must not talk to a server that may
// be gone.
WindowManagerSync::~WindowManagerSync() = default;

// KWin answers a request for the extents of a window only once, so each probe gets a window
// of its own; the previous one goes, and an answer meant for it is no longer mistaken for the
// current one. Never mapped: the manager only ever estimates its frame. KWin answers only for
// a window that can be drawn, so the probe is an ordinary window rather than an input-only one.
void WindowManagerSync::sendProbe() {
    if (Properties::noticeLostServer(display_))
        return;
    if (probe_ != None)
        XDestroyWindow(display_, probe_);
    previousProbe_ = probe_;
    probe_ = XCreateWindow(display_, DefaultRootWindow(display_), -100, -100, 1, 1, 0,
                           CopyFromParent, InputOutput, CopyFromParent, 0, nullptr);
    if (answers_ == Answers::unknown && !unansweredSince_)
        unansweredSince_ = std::chrono::steady_clock::now();
    XSelectInput(display_, probe_, PropertyChangeMask);
    send(probe_, atoms_.netRequestFrameExtents, {0, 0, 0, 0, 0});
}

// The manager's check window goes when the manager does: until then, what was read of it holds.
void WindowManagerSync::refresh() {
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        notice(event);
    }
    if (managerRuns_ && !managerGone_)
        return;
    managerGone_ = false;
    const Window root = DefaultRootWindow(display_);
    // What the root says goes out in one round trip, what the check window says in another.
    Properties::PendingRead rootCheck(display_, root, atoms_.netSupportingWmCheck, XA_WINDOW);
    Properties::PendingRead supported(display_, root, atoms_.netSupported, XA_ATOM);
    const auto check = firstOf(rootCheck.numbers(XA_WINDOW));
    if (!check) {
        manager_ = None;
        managerRuns_ = false;
        supported_.clear();
        return;
    }
    const auto window = static_cast<Window>(*check);
    watchForExit(window);
    Properties::PendingRead ownCheck(display_, window, atoms_.netSupportingWmCheck, XA_WINDOW);
    Properties::PendingRead learned(display_, window, atoms_.tilewiseManagerAnswers, XA_CARDINAL);
    // A manager that exited can leave its check property behind, naming a dead window. One that
    // is still there was there when it was watched, just before.
    managerRuns_ = firstOf(ownCheck.numbers(XA_WINDOW)) == check;
    const Window manager = managerRuns_ ? window : None;
    if (manager == manager_)
        return;
    manager_ = manager;
    supported_.clear();
    if (managerRuns_) {
        for (const long atom : supported.numbers(XA_ATOM).value_or(std::vector<long>{}))
            supported_.push_back(static_cast<Atom>(atom));
    }
    const auto answers = firstOf(learned.numbers(XA_CARDINAL));
    answers_ = !answers ? Answers::unknown : *answers != 0 ? Answers::yes : Answers::no;
    unansweredSince_.reset();
}

// The manager's check window is destroyed when it exits: its StructureNotify tells. Nothing
// is waited for: the reading of the window that follows shows whether it was there.
void WindowManagerSync::watchForExit(Window manager) {
    const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_connection_t* connection = XGetXCBConnection(display_);
    xcb_discard_reply(connection, xcb_change_window_attributes_checked(connection, manager,
                                                                       XCB_CW_EVENT_MASK, &mask)
                                      .sequence);
}

// Some managers answer the probe without listing it (i3), others list it and never answer
// (fluxbox). Until it is known, every wait sends the probe and takes whichever comes first, the
// answer or the events that tell of the request; the answer, or a probe left unanswered for long,
// is kept on the manager's own check window, so that it dies with the manager and no later
// process tries again. Nothing waits just to learn it.
void WindowManagerSync::learn(Answers answers) {
    answers_ = answers;
    if (manager_ == None)
        return;
    const long value = answers == Answers::yes ? 1 : 0;
    xcb_connection_t* connection = XGetXCBConnection(display_);
    xcb_discard_reply(
        connection,
        xcb_change_property_checked(connection, XCB_PROP_MODE_REPLACE, manager_,
                                    atoms_.tilewiseManagerAnswers, XCB_ATOM_CARDINAL, 32, 1, &value)
            .sequence);
    XFlush(display_);
}

bool WindowManagerSync::supports(Atom feature) const {
    return std::find(supported_.begin(), supported_.end(), feature) != supported_.end();
}

void WindowManagerSync::send(Window window, Atom type, const std::array<long, 5>& data) {
    if (Properties::noticeLostServer(display_))
        return;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    std::copy(data.begin(), data.end(), event.xclient.data.l);
    XSendEvent(display_, DefaultRootWindow(display_), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

// A lost server's socket stays readable: no use polling it until the deadline.
bool WindowManagerSync::nextEvent(XEvent& event, std::chrono::steady_clock::time_point deadline) {
    while (XPending(display_) == 0) {
        if (Properties::noticeLostServer(display_))
            return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd descriptor{ConnectionNumber(display_), POLLIN, 0};
        if (left.count() <= 0 || poll(&descriptor, 1, static_cast<int>(left.count())) <= 0) {
            return false;
        }
    }
    XNextEvent(display_, &event);
    notice(event);
    return true;
}

void WindowManagerSync::notice(const XEvent& event) {
    if (event.type == DestroyNotify && event.xdestroywindow.window == manager_)
        managerGone_ = true;
    // The answer to the probe before may come only once the current one went out.
    if (answers_ == Answers::unknown &&
        (isAnswer(event, probe_) || isAnswer(event, previousProbe_))) {
        learn(Answers::yes);
    }
}

bool WindowManagerSync::isAnswer(const XEvent& event, Window probe) const {
    return probe != None && event.type == PropertyNotify && event.xproperty.window == probe &&
           event.xproperty.atom == atoms_.netFrameExtents &&
           event.xproperty.state == PropertyNewValue;
}

// With a manager that answers the probe, only the answer to a fresh probe ends a wait, and the
// events already received are all that can be dropped without a round trip. One that does not
// answer is judged by the events themselves: every event of earlier requests goes first.
void WindowManagerSync::discardPendingEvents() {
    if ((!managerRuns_ || answers_ != Answers::yes) && !Properties::noticeLostServer(display_))
        XSync(display_, False);
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        notice(event);
    }
}

bool WindowManagerSync::awaitEvent(std::chrono::milliseconds timeout,
                                   const std::function<bool(const XEvent&)>& wanted) {
    XFlush(display_);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    XEvent event;
    while (nextEvent(event, deadline)) {
        if (wanted(event))
            return true;
    }
    return false;
}

bool WindowManagerSync::waitForManager(std::chrono::milliseconds timeout,
                                       const std::function<Sign(const XEvent&)>& onEvent) {
    if (!managerRuns_) {
        if (!Properties::noticeLostServer(display_))
            XSync(display_, False);
        return true;
    }
    if (answers_ != Answers::no)
        sendProbe();
    XFlush(display_);
    auto deadline = std::chrono::steady_clock::now() + timeout;
    bool progressed = false;
    XEvent event;
    while (nextEvent(event, deadline)) {
        if (isAnswer(event, probe_))
            return true;
        // A manager that went away answers nothing more: no use waiting out the timeout.
        if (managerGone_)
            return false;
        const Sign sign = onEvent(event);
        if (answers_ == Answers::yes || sign == Sign::unrelated)
            continue;
        if (sign == Sign::done)
            return true;
        progressed = true;
        deadline = std::min(deadline, std::chrono::steady_clock::now() + kQuietAfterProgress);
    }
    if (answers_ == Answers::unknown && unansweredSince_ &&
        std::chrono::steady_clock::now() - *unansweredSince_ >= kLongestAnswer) {
        learn(Answers::no);
    }
    // A manager that cannot be probed and sent nothing did nothing: it refused or had nothing
    // to do, and the read-back tells which.
    return progressed || answers_ != Answers::yes;
}

}  // namespace tilewise::x11

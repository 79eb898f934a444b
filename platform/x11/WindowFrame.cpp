#include "platform/x11/WindowFrame.h"

#include <X11/Xlib-xcb.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

#include "platform/x11/ErrorTrap.h"
#include "platform/x11/Properties.h"
#include "platform/x11/SizeHints.h"

namespace tilewise::x11 {
namespace {

// _NET_MOVERESIZE_WINDOW's first word: gravity in the low byte, then which of x, y, width
// and height are given, then who asks (2: a pager, which managers obey without second-guessing
// the application's wishes).
constexpr long kNorthWestGravity = 1;
constexpr long kGivesX = 1L << 8, kGivesY = 1L << 9, kGivesWidth = 1L << 10,
               kGivesHeight = 1L << 11;
constexpr long kFromPager = 2L << 12;
constexpr long kRemoveState = 0;

// Frame and shadow widths are set by other clients; anything beyond this is nonsense that
// would only throw the frame far off.
constexpr long kLargestPlausibleEdge = 4096;

Edges edgesFrom(const std::optional<std::vector<long>>& values) {
    if (!values || values->size() < 4)
        return {};
    const bool plausible = std::all_of(values->begin(), values->begin() + 4, [](long value) {
        return value >= 0 && value <= kLargestPlausibleEdge;
    });
    if (!plausible)
        return {};
    return {(*values)[0], (*values)[1], (*values)[2], (*values)[3]};
}

std::optional<WindowSnapshot::ClientGeometry> clientGeometry(Display* display, Window window) {
    ErrorTrap trap(display);
    Window root = None, child = None;
    int parentX = 0, parentY = 0;
    unsigned depth = 0;
    WindowSnapshot::ClientGeometry geometry;
    if (XGetGeometry(display, window, &root, &parentX, &parentY, &geometry.width, &geometry.height,
                     &geometry.border, &depth) == 0 ||
        XTranslateCoordinates(display, window, root, 0, 0, &geometry.x, &geometry.y, &child) == 0 ||
        trap.check()) {
        return std::nullopt;
    }
    return geometry;
}

// The client size that gives a frame of `size`: the frame less decorations and border, plus
// the shadow a client-side-decorated window draws around its visible part.
std::pair<long, long> clientSizeFor(Size size, const Edges& frame, const Edges& shadow,
                                    long border) {
    return {std::max(1L, std::lround(size.width) - frame.left - frame.right + shadow.left +
                             shadow.right - 2 * border),
            std::max(1L, std::lround(size.height) - frame.top - frame.bottom + shadow.top +
                             shadow.bottom - 2 * border)};
}

}  // namespace

// Some managers move first and resize in a second step: only the asked-for geometry shows
// they are through; anything else may be a step or the client's own limit. Only synthetic
// events carry root coordinates, so only they can confirm a position.
bool WindowFrame::ExpectedClient::matches(const XConfigureEvent& event) const {
    const std::pair<long, long> got{event.width, event.height};
    const bool sized = !size || got == *size || got == allowedSize;
    const bool placed =
        !origin || (event.send_event && event.x == origin->first && event.y == origin->second);
    return sized && placed;
}

bool WindowFrame::ExpectedClient::isMetBy(const WindowSnapshot::ClientGeometry& client) const {
    const std::pair<long, long> got{client.width, client.height};
    const bool sized = !size || got == *size || got == allowedSize;
    return sized && (!origin || *origin == std::pair<long, long>{client.x, client.y});
}

WindowFrame::WindowFrame(Display* display, const Atoms& atoms)
    : display_(display), atoms_(atoms), sync_(display, atoms) {}

Edges WindowFrame::decorations(Window window, const WindowSnapshot& snapshot) const {
    if (keepsFrameToItself(snapshot))
        return enclosingFrameEdges(window);
    return edgesFrom(snapshot.frameExtents);
}

// A manager that does not list the frame extents among what it supports (i3) may still set
// them when a client asks before mapping, as an estimate: its frame window is the truth, and
// it takes every position as the client's own. Without extents on the window, the same holds.
bool WindowFrame::keepsFrameToItself(const WindowSnapshot& snapshot) const {
    return !snapshot.frameExtents || !sync_.supports(atoms_.netFrameExtents);
}

// A manager that publishes no extents (i3) still draws its title and border in a frame window
// of its own around the client: the top-level ancestor of the client shows them.
Edges WindowFrame::enclosingFrameEdges(Window window) const {
    if (Properties::noticeLostServer(display_))
        return {};
    ErrorTrap trap(display_);
    Window topLevel = window;
    for (;;) {
        Window root = None, parent = None;
        Window* children = nullptr;
        unsigned count = 0;
        if (XQueryTree(display_, topLevel, &root, &parent, &children, &count) == 0)
            return {};
        if (children != nullptr)
            XFree(children);
        if (parent == root || parent == None)
            break;
        topLevel = parent;
    }
    const auto client = clientGeometry(display_, window);
    const auto frame = clientGeometry(display_, topLevel);
    if (topLevel == window || !client || !frame || trap.check())
        return {};
    const long left = client->x - client->border - (frame->x - frame->border);
    const long top = client->y - client->border - (frame->y - frame->border);
    const long right = static_cast<long>(frame->width + 2 * frame->border) - left -
                       static_cast<long>(client->width + 2 * client->border);
    const long bottom = static_cast<long>(frame->height + 2 * frame->border) - top -
                        static_cast<long>(client->height + 2 * client->border);
    return edgesFrom(std::vector<long>{left, right, top, bottom});
}

// The window's events are selected from the first reading on, and any change to what a
// snapshot holds brings one: while none (and no other event) is queued, the last reading is
// still the truth. After a request a write reads afresh, as it takes the events off the queue.
std::optional<WindowSnapshot> WindowFrame::takeSnapshot(Window window) const {
    if (last_ && last_->first == window && XEventsQueued(display_, QueuedAfterReading) == 0)
        return last_->second;
    return freshSnapshot(window);
}

std::optional<WindowSnapshot> WindowFrame::freshSnapshot(Window window) const {
    last_.reset();
    auto taken = WindowSnapshot::take(display_, atoms_, window, window != watched_);
    if (taken) {
        watched_ = window;
        last_.emplace(window, *taken);
    }
    return taken;
}

std::expected<Rect, WindowFault> WindowFrame::read(Window window) const {
    const auto taken = takeSnapshot(window);
    if (!taken)
        return std::unexpected(WindowFault::vanished);
    const auto* client = &taken->client;
    const Edges frame = decorations(window, *taken);
    const Edges shadow = edgesFrom(taken->shadowExtents);
    const double border = client->border;
    return Rect(
        client->x - border - frame.left + shadow.left, client->y - border - frame.top + shadow.top,
        client->width + 2 * border + frame.left + frame.right - shadow.left - shadow.right,
        client->height + 2 * border + frame.top + frame.bottom - shadow.top - shadow.bottom);
}

std::expected<void, WindowFault> WindowFrame::write(Window window, std::optional<Point> origin,
                                                    std::optional<Size> size,
                                                    std::chrono::milliseconds timeout) {
    // The check below takes events off the queue, and with them the news that the last reading
    // is out of date.
    if (XEventsQueued(display_, QueuedAfterReading) > 0)
        last_.reset();
    sync_.refresh();
    auto taken = takeSnapshot(window);
    if (!taken)
        return std::unexpected(WindowFault::vanished);
    if (auto left = leaveMaximizedAndFullScreen(window, *taken, timeout); !left)
        return left;
    // Decorations can change while the manager restores a window (a border comes back after
    // maximizing); a request computed with stale widths is sent once more with fresh ones.
    for (int round = 0; round < 2; ++round) {
        const Edges frame = decorations(window, *taken);
        const Edges shadow = edgesFrom(taken->shadowExtents);
        auto sent = request(window, origin, size, *taken, timeout);
        if (!sent)
            return std::unexpected(sent.error());
        if (!*sent)
            break;
        taken = freshSnapshot(window);
        if (!taken)
            return std::unexpected(WindowFault::vanished);
        if (decorations(window, *taken) == frame && edgesFrom(taken->shadowExtents) == shadow)
            break;
    }
    return {};
}

std::expected<bool, WindowFault> WindowFrame::request(Window window, std::optional<Point> origin,
                                                      std::optional<Size> size,
                                                      const WindowSnapshot& snapshot,
                                                      std::chrono::milliseconds timeout) {
    const Edges frame = decorations(window, snapshot);
    const Edges shadow = edgesFrom(snapshot.shadowExtents);
    const auto* client = &snapshot.client;
    const long border = client->border;
    // A move states the size the client has: fluxbox takes a move alone for a resize to its
    // frame's size and grows the client by its decorations.
    long flags = kNorthWestGravity | kFromPager | kGivesWidth | kGivesHeight;
    long x = 0, y = 0, width = client->width, height = client->height;
    ExpectedClient expected;
    if (origin) {
        flags |= kGivesX | kGivesY;
        x = std::lround(origin->x) - shadow.left;
        y = std::lround(origin->y) - shadow.top;
        expected.origin = {x + frame.left + border, y + frame.top + border};
        if (keepsFrameToItself(snapshot)) {
            x += frame.left;
            y += frame.top;
        }
    }
    if (size) {
        std::tie(width, height) = clientSizeFor(*size, frame, shadow, border);
        expected.size = {width, height};
        expected.allowedSize = snapshot.sizeHints.constrain(width, height);
    }
    // A manager owes no event for a request that changes nothing, so none is sent.
    if (expected.isMetBy(*client))
        return false;
    sync_.discardPendingEvents();
    if (sync_.supports(atoms_.netMoveresizeWindow)) {
        sync_.send(window, atoms_.netMoveresizeWindow, {flags, x, y, width, height});
    } else {
        configure(window, origin ? std::optional<std::pair<long, long>>({x, y}) : std::nullopt,
                  size ? std::optional<std::pair<long, long>>({width, height}) : std::nullopt);
    }
    if (auto answered = awaitManager(window, timeout, expected); !answered)
        return std::unexpected(answered.error());
    return true;
}

// Managers without _NET_MOVERESIZE_WINDOW get a plain configure request; with the default
// north-west gravity they put the frame's corner where the client asks. A window that is gone
// meanwhile fails it, which the wait and the read-back that follow tell.
void WindowFrame::configure(Window window, std::optional<std::pair<long, long>> origin,
                            std::optional<std::pair<long, long>> size) {
    std::vector<std::uint32_t> values;
    std::uint16_t mask = 0;
    if (origin) {
        mask |= XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y;
        values.insert(values.end(), {static_cast<std::uint32_t>(origin->first),
                                     static_cast<std::uint32_t>(origin->second)});
    }
    if (size) {
        mask |= XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT;
        values.insert(values.end(), {static_cast<std::uint32_t>(size->first),
                                     static_cast<std::uint32_t>(size->second)});
    }
    xcb_connection_t* connection = XGetXCBConnection(display_);
    xcb_discard_reply(connection,
                      xcb_configure_window_checked(connection, static_cast<xcb_window_t>(window),
                                                   mask, values.data())
                          .sequence);
}

std::expected<void, WindowFault> WindowFrame::leaveMaximizedAndFullScreen(
    Window window, const WindowSnapshot& snapshot, std::chrono::milliseconds timeout) {
    const bool maximized = snapshot.hasState(atoms_.netWmStateMaximizedVert) ||
                           snapshot.hasState(atoms_.netWmStateMaximizedHorz);
    const bool fullScreen = snapshot.hasState(atoms_.netWmStateFullscreen);
    if (!maximized && !fullScreen)
        return {};
    // A client-side-decorated window drops its shadow while it fills the monitor and draws it
    // again only once it has seen the state go, after the manager is through: until then its
    // extents would put the visible frame off by the shadow.
    const bool shadowReturns =
        snapshot.shadowExtents && edgesFrom(snapshot.shadowExtents) == Edges{};
    sync_.discardPendingEvents();
    if (maximized) {
        sync_.send(window, atoms_.netWmState,
                   {kRemoveState, static_cast<long>(atoms_.netWmStateMaximizedVert),
                    static_cast<long>(atoms_.netWmStateMaximizedHorz), 2, 0});
    }
    if (fullScreen) {
        sync_.send(window, atoms_.netWmState,
                   {kRemoveState, static_cast<long>(atoms_.netWmStateFullscreen), 0, 2, 0});
    }
    auto left = awaitManager(window, timeout, ExpectedClient{});
    if (!left || !shadowReturns)
        return left;
    return awaitShadow(window, timeout);
}

// GTK passes through a shadowless "tiled" state while a manager takes the two maximized
// states away one at a time, so only extents with a shadow are the final ones. A client that
// keeps none ends the wait at the timeout without an error: its extents as they are hold.
std::expected<void, WindowFault> WindowFrame::awaitShadow(Window window,
                                                          std::chrono::milliseconds timeout) {
    const auto shadowNow = [&] {
        const auto taken = freshSnapshot(window);
        return taken ? edgesFrom(taken->shadowExtents) : Edges{};
    };
    if (shadowNow() != Edges{})
        return {};
    bool destroyed = false;
    sync_.awaitEvent(timeout, [&](const XEvent& event) {
        destroyed = event.type == DestroyNotify && event.xdestroywindow.window == window;
        return destroyed ||
               (event.type == PropertyNotify && event.xproperty.window == window &&
                event.xproperty.atom == atoms_.gtkFrameExtents && shadowNow() != Edges{});
    });
    if (destroyed)
        return std::unexpected(WindowFault::vanished);
    return {};
}

std::expected<void, WindowFault> WindowFrame::awaitManager(Window window,
                                                           std::chrono::milliseconds timeout,
                                                           const ExpectedClient& expected) {
    using Sign = WindowManagerSync::Sign;
    bool destroyed = false;
    const bool answered = sync_.waitForManager(timeout, [&](const XEvent& event) {
        if (event.type == DestroyNotify && event.xdestroywindow.window == window) {
            destroyed = true;
            return Sign::done;
        }
        if (event.type == PropertyNotify && event.xproperty.window == window &&
            event.xproperty.atom == atoms_.netWmState) {
            return Sign::progress;
        }
        if (event.type != ConfigureNotify || event.xconfigure.window != window) {
            return Sign::unrelated;
        }
        return expected.matches(event.xconfigure) ? Sign::done : Sign::progress;
    });
    if (destroyed)
        return std::unexpected(WindowFault::vanished);
    if (!answered)
        return std::unexpected(WindowFault::noAnswer);
    return {};
}

bool WindowFrame::managerRuns() {
    sync_.refresh();
    return sync_.managerRuns();
}

std::optional<bool> WindowFrame::hintsAccountFor(Window window, Size requested, Size actual) const {
    const auto taken = takeSnapshot(window);
    if (!taken)
        return std::nullopt;
    const Edges frame = decorations(window, *taken);
    const Edges shadow = edgesFrom(taken->shadowExtents);
    const long border = taken->client.border;
    return taken->sizeHints.accountFor(clientSizeFor(requested, frame, shadow, border),
                                       clientSizeFor(actual, frame, shadow, border));
}

}  // namespace tilewise::x11

// Times a command that moves a window, as a user sees it: from the command's start until the
// window has landed where it ends up (its last geometry, first reached), and until the command
// returned. Run by bench/x11-placement for Tilewise, xdotool and wmctrl alike.
//
//   tilewise_x11_landing WINDOW COMMAND [ARGUMENT…]
// prints "landed MS returned MS".
#include <X11/Xlib.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
// The window is settled once nothing has happened to it for this long after the command ended.
constexpr auto kQuiet = std::chrono::milliseconds(150);

struct Geometry {
    int x = 0, y = 0;
    unsigned width = 0, height = 0;
    bool operator==(const Geometry&) const = default;
};

Geometry geometryOf(Display* display, Window window) {
    Geometry geometry;
    Window root = None, child = None;
    int x = 0, y = 0;
    unsigned border = 0, depth = 0;
    XGetGeometry(display, window, &root, &x, &y, &geometry.width, &geometry.height, &border,
                 &depth);
    XTranslateCoordinates(display, window, root, 0, 0, &geometry.x, &geometry.y, &child);
    return geometry;
}

// The manager's frame moves the client without a ConfigureNotify on the client itself.
Window topLevelOf(Display* display, Window window) {
    for (;;) {
        Window root = None, parent = None, *children = nullptr;
        unsigned count = 0;
        if (XQueryTree(display, window, &root, &parent, &children, &count) == 0)
            return window;
        if (children != nullptr)
            XFree(children);
        if (parent == root || parent == None)
            return window;
        window = parent;
    }
}

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s WINDOW COMMAND [ARGUMENT...]\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return 2;
    const Window window = std::strtoul(argv[1], nullptr, 0);
    XSelectInput(display, window, StructureNotifyMask);
    XSelectInput(display, topLevelOf(display, window), StructureNotifyMask);
    std::vector<std::pair<Clock::time_point, Geometry>> seen;
    const auto start = Clock::now();
    seen.emplace_back(start, geometryOf(display, window));
    const pid_t child = fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    std::optional<Clock::time_point> returned;
    auto lastChange = start;
    while (!returned || Clock::now() - std::max(lastChange, *returned) < kQuiet) {
        if (!returned && waitpid(child, nullptr, WNOHANG) == child)
            returned = Clock::now();
        pollfd descriptor{ConnectionNumber(display), POLLIN, 0};
        if (XPending(display) == 0 && poll(&descriptor, 1, 1) <= 0)
            continue;
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != ConfigureNotify)
            continue;
        lastChange = Clock::now();
        seen.emplace_back(lastChange, geometryOf(display, window));
    }
    const Geometry final = seen.back().second;
    auto landed = *returned;
    for (auto entry = seen.rbegin(); entry != seen.rend() && entry->second == final; ++entry)
        landed = entry->first;
    // A window that did not move at all has landed when the command is through.
    if (seen.front().second == final)
        landed = *returned;
    std::printf("landed %.3f returned %.3f\n", millisecondsBetween(start, landed),
                millisecondsBetween(start, *returned));
    XCloseDisplay(display);
    return 0;
}

// A top-level window whose size hints, type, state and process id come from its arguments,
// so the X11 suites can place windows that refuse sizes the way real applications do.
//
//   tilewise_x11_test_client [--title T] [--class C] [--size WxH] [--position X,Y]
//       [--min WxH] [--max WxH] [--fixed] [--increment WxH] [--base WxH]
//       [--type normal|dialog|dock|utility|desktop] [--strut-partial 12 comma-separated numbers]
//       [--state maximized|fullscreen|hidden] [--pid N | --no-pid]
//
// Once the window manager has mapped the window and given it frame extents, the client prints
// the window id as "0x…" on a line of its own, so a test knows the window is managed without
// sleeping. It then serves until standard input closes. The line "destroy" destroys the window
// and answers "destroyed"; the end of input destroys it too. Either way the client first waits
// until the window manager has dropped the window from its client list: the next client may
// get the same window id, and the manager must not mistake one for the other.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Extent {
    int width = 0;
    int height = 0;
};

struct Options {
    std::string title = "tilewise test client";
    std::string windowClass = "tilewise-test-client";
    Extent size{400, 300};
    std::optional<std::pair<int, int>> position;
    std::optional<Extent> minSize, maxSize, increment, base;
    bool fixed = false;
    std::string type = "normal";
    std::vector<long> strutPartial;
    std::string state;
    std::optional<long> pid = static_cast<long>(getpid());
};

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "tilewise_x11_test_client: %s\n", message.c_str());
    std::exit(2);
}

Extent parseExtent(const std::string& text) {
    Extent extent;
    if (std::sscanf(text.c_str(), "%dx%d", &extent.width, &extent.height) != 2) {
        fail("expected WxH, got " + text);
    }
    return extent;
}

std::vector<long> parseNumbers(const std::string& text) {
    std::vector<long> numbers;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = text.find(',', start);
        numbers.push_back(std::strtol(text.substr(start, comma - start).c_str(), nullptr, 10));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return numbers;
}

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int index = 1; index < argc; ++index) {
        const std::string_view name = argv[index];
        if (name == "--fixed") {
            options.fixed = true;
            continue;
        }
        if (name == "--no-pid") {
            options.pid.reset();
            continue;
        }
        if (index + 1 >= argc)
            fail("missing value for " + std::string(name));
        const std::string value = argv[++index];
        if (name == "--title")
            options.title = value;
        else if (name == "--class")
            options.windowClass = value;
        else if (name == "--size")
            options.size = parseExtent(value);
        else if (name == "--min")
            options.minSize = parseExtent(value);
        else if (name == "--max")
            options.maxSize = parseExtent(value);
        else if (name == "--increment")
            options.increment = parseExtent(value);
        else if (name == "--base")
            options.base = parseExtent(value);
        else if (name == "--type")
            options.type = value;
        else if (name == "--state")
            options.state = value;
        else if (name == "--pid")
            options.pid = std::strtol(value.c_str(), nullptr, 10);
        else if (name == "--position") {
            const auto numbers = parseNumbers(value);
            if (numbers.size() != 2)
                fail("expected X,Y, got " + value);
            options.position = {static_cast<int>(numbers[0]), static_cast<int>(numbers[1])};
        } else if (name == "--strut-partial") {
            options.strutPartial = parseNumbers(value);
            if (options.strutPartial.size() != 12)
                fail("a partial strut has 12 numbers");
        } else
            fail("unknown option " + std::string(name));
    }
    return options;
}

Atom atom(Display* display, const std::string& name) {
    return XInternAtom(display, name.c_str(), False);
}

void setAtomProperty(Display* display, Window window, const char* property,
                     const std::vector<Atom>& values) {
    XChangeProperty(display, window, atom(display, property), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(values.data()),
                    static_cast<int>(values.size()));
}

void setCardinalProperty(Display* display, Window window, const char* property,
                         const std::vector<long>& values) {
    XChangeProperty(display, window, atom(display, property), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(values.data()),
                    static_cast<int>(values.size()));
}

void setSizeHints(Display* display, Window window, const Options& options) {
    XSizeHints* hints = XAllocSizeHints();
    hints->flags = PSize;
    hints->width = options.size.width;
    hints->height = options.size.height;
    if (options.position) {
        hints->flags |= USPosition;
        hints->x = options.position->first;
        hints->y = options.position->second;
    }
    const auto minSize = options.fixed ? std::optional(options.size) : options.minSize;
    const auto maxSize = options.fixed ? std::optional(options.size) : options.maxSize;
    if (minSize) {
        hints->flags |= PMinSize;
        hints->min_width = minSize->width;
        hints->min_height = minSize->height;
    }
    if (maxSize) {
        hints->flags |= PMaxSize;
        hints->max_width = maxSize->width;
        hints->max_height = maxSize->height;
    }
    if (options.increment) {
        hints->flags |= PResizeInc;
        hints->width_inc = options.increment->width;
        hints->height_inc = options.increment->height;
    }
    if (options.base) {
        hints->flags |= PBaseSize;
        hints->base_width = options.base->width;
        hints->base_height = options.base->height;
    }
    XSetWMNormalHints(display, window, hints);
    XFree(hints);
}

void setIdentity(Display* display, Window window, const Options& options) {
    XStoreName(display, window, options.title.c_str());
    XClassHint classHint{const_cast<char*>(options.windowClass.c_str()),
                         const_cast<char*>(options.windowClass.c_str())};
    XSetClassHint(display, window, &classHint);
    if (options.pid) {
        // A PID only means something together with the machine it runs on.
        char host[256] = {};
        gethostname(host, sizeof host - 1);
        XTextProperty machine;
        char* hostPointer = host;
        XStringListToTextProperty(&hostPointer, 1, &machine);
        XSetWMClientMachine(display, window, &machine);
        XFree(machine.value);
        setCardinalProperty(display, window, "_NET_WM_PID", {*options.pid});
    }
}

void setTypeAndState(Display* display, Window window, const Options& options) {
    std::string type = options.type;
    for (char& character : type)
        character = static_cast<char>(std::toupper(character));
    setAtomProperty(display, window, "_NET_WM_WINDOW_TYPE",
                    {atom(display, "_NET_WM_WINDOW_TYPE_" + type)});
    if (options.state == "maximized") {
        setAtomProperty(display, window, "_NET_WM_STATE",
                        {atom(display, "_NET_WM_STATE_MAXIMIZED_VERT"),
                         atom(display, "_NET_WM_STATE_MAXIMIZED_HORZ")});
    } else if (options.state == "fullscreen") {
        setAtomProperty(display, window, "_NET_WM_STATE",
                        {atom(display, "_NET_WM_STATE_FULLSCREEN")});
    } else if (options.state == "hidden") {
        XWMHints* hints = XAllocWMHints();
        hints->flags = StateHint;
        hints->initial_state = IconicState;
        XSetWMHints(display, window, hints);
        XFree(hints);
    } else if (!options.state.empty()) {
        fail("unknown state " + options.state);
    }
    if (!options.strutPartial.empty()) {
        setCardinalProperty(display, window, "_NET_WM_STRUT_PARTIAL", options.strutPartial);
        setCardinalProperty(display, window, "_NET_WM_STRUT",
                            {options.strutPartial.begin(), options.strutPartial.begin() + 4});
    }
}

bool windowManagerRuns(Display* display) {
    Atom type;
    int format;
    unsigned long count, remaining;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, DefaultRootWindow(display),
                                          atom(display, "_NET_SUPPORTING_WM_CHECK"), 0, 1, False,
                                          XA_WINDOW, &type, &format, &count, &remaining, &data);
    const bool present = status == Success && count == 1;
    if (data)
        XFree(data);
    return present;
}

bool waitForEvent(Display* display, std::chrono::steady_clock::time_point deadline) {
    while (XPending(display) == 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd descriptor{ConnectionNumber(display), POLLIN, 0};
        poll(&descriptor, 1, static_cast<int>(left.count()));
    }
    return true;
}

bool listedAsClient(Display* display, Window window) {
    Atom type;
    int format;
    unsigned long count, remaining;
    unsigned char* data = nullptr;
    XGetWindowProperty(display, DefaultRootWindow(display), atom(display, "_NET_CLIENT_LIST"), 0,
                       1 << 16, False, XA_WINDOW, &type, &format, &count, &remaining, &data);
    bool listed = false;
    for (unsigned long index = 0; data != nullptr && index < count; ++index) {
        listed = listed || reinterpret_cast<const long*>(data)[index] == static_cast<long>(window);
    }
    if (data)
        XFree(data);
    return listed;
}

// Asks the manager for the frame it will give the window, as clients may before mapping, and
// waits for the answer. Besides the estimate this tells that the manager is through starting
// up: openbox publishes its root properties before it is ready and then loses early requests.
// fluxbox never answers, hence the short deadline.
void awaitManagerBeforeMapping(Display* display, Window window) {
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = window;
    request.xclient.message_type = atom(display, "_NET_REQUEST_FRAME_EXTENTS");
    request.xclient.format = 32;
    XSendEvent(display, DefaultRootWindow(display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &request);
    const Atom frameExtents = atom(display, "_NET_FRAME_EXTENTS");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
    while (waitForEvent(display, deadline)) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == PropertyNotify && event.xproperty.atom == frameExtents)
            return;
    }
}

// Managed means mapped, given frame extents and listed among the manager's clients. An iconic
// window is never mapped, and some managers give no extents to undecorated windows, so each
// sign is waited for only as long as it can come.
void waitUntilManaged(Display* display, Window window, const Options& options) {
    const bool managed = windowManagerRuns(display);
    bool mapped = options.state == "hidden";
    bool extents = !managed;
    const Atom frameExtents = atom(display, "_NET_FRAME_EXTENTS");
    const Atom wmState = atom(display, "WM_STATE");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    XSelectInput(display, DefaultRootWindow(display), PropertyChangeMask);
    const auto settled = [&] {
        return mapped && extents && (!managed || listedAsClient(display, window));
    };
    while (!settled() && waitForEvent(display, deadline)) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && event.xmap.window == window)
            mapped = true;
        if (event.type == PropertyNotify && event.xproperty.window == window &&
            (event.xproperty.atom == frameExtents ||
             (options.state == "hidden" && event.xproperty.atom == wmState))) {
            extents = true;
        }
    }
    if (!settled()) {
        std::fprintf(
            stderr,
            "tilewise_x11_test_client: not managed in time (mapped %d, extents %d, listed %d)\n",
            mapped, extents, listedAsClient(display, window));
    }
}

void destroyAndWaitUntilUnlisted(Display* display, Window window) {
    XDestroyWindow(display, window);
    XSync(display, False);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (listedAsClient(display, window) && waitForEvent(display, deadline)) {
        XEvent event;
        XNextEvent(display, &event);
    }
}

void serve(Display* display, Window window) {
    std::string pending;
    bool alive = true;
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
        }
        pollfd descriptors[2] = {{ConnectionNumber(display), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        if (poll(descriptors, 2, -1) < 0)
            continue;
        if (descriptors[1].revents == 0)
            continue;
        char buffer[256];
        const ssize_t count = read(STDIN_FILENO, buffer, sizeof buffer);
        if (count <= 0) {
            if (alive)
                destroyAndWaitUntilUnlisted(display, window);
            return;
        }
        pending.append(buffer, static_cast<size_t>(count));
        for (size_t end; (end = pending.find('\n')) != std::string::npos;
             pending.erase(0, end + 1)) {
            if (pending.compare(0, end, "destroy") == 0 && alive) {
                destroyAndWaitUntilUnlisted(display, window);
                alive = false;
                std::printf("destroyed\n");
                std::fflush(stdout);
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parseOptions(argc, argv);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        fail("cannot open the display");
    const int x = options.position ? options.position->first : 0;
    const int y = options.position ? options.position->second : 0;
    const Window window = XCreateSimpleWindow(
        display, DefaultRootWindow(display), x, y, static_cast<unsigned>(options.size.width),
        static_cast<unsigned>(options.size.height), 0, BlackPixel(display, DefaultScreen(display)),
        WhitePixel(display, DefaultScreen(display)));
    XSelectInput(display, window, StructureNotifyMask | PropertyChangeMask);
    setSizeHints(display, window, options);
    setIdentity(display, window, options);
    setTypeAndState(display, window, options);
    if (windowManagerRuns(display))
        awaitManagerBeforeMapping(display, window);
    XMapWindow(display, window);
    XFlush(display);
    waitUntilManaged(display, window, options);
    std::printf("0x%lx\n", window);
    std::fflush(stdout);
    serve(display, window);
    XCloseDisplay(display);
    return 0;
}

#include "tests/x11/support/X11TestSupport.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>

#include "platform/x11/Properties.h"
#include "platform/x11/WindowManagerSync.h"

namespace tilewise::testing {
namespace {

x11::X11Connection openConnection() {
    auto connection = x11::X11Connection::open();
    if (!connection) {
        ADD_FAILURE() << connection.error() << " The X11 suites run under scripts/with-x11.";
        std::abort();
    }
    return std::move(*connection);
}

}  // namespace

TestWindow::TestWindow(ChildProcess process, Window id, std::function<void(Window)> afterExit)
    : process(std::move(process)), id(id), afterExit(std::move(afterExit)) {}

TestWindow::~TestWindow() {
    process.terminate();
    if (afterExit)
        afterExit(id);
}

void TestWindow::destroy() {
    process.writeLine("destroy");
    ASSERT_EQ(process.readLine(kServerTimeout), "destroyed");
}

CommandResult runTilewise(const std::vector<std::string>& arguments) {
    // Failures are told on the error stream; the tests read both.
    std::vector<std::string> command{"sh", "-c", "exec \"$0\" \"$@\" 2>&1", TILEWISE_EXECUTABLE};
    command.insert(command.end(), arguments.begin(), arguments.end());
    ChildProcess process(command, ChildProcess::Ending::terminate);
    CommandResult result;
    while (const auto line = process.readLine(kServerTimeout))
        result.output += *line + "\n";
    const int status = process.terminate();
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

unsigned long rootPixel(Display* display, int x, int y) {
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr)
        return ~0ul;
    const unsigned long value = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
    return value;
}

void setDesktopColour(Display* display, unsigned long colour) {
    const Window root = DefaultRootWindow(display);
    const Pixmap tile =
        XCreatePixmap(display, root, 1, 1, DefaultDepth(display, DefaultScreen(display)));
    GC gc = XCreateGC(display, tile, 0, nullptr);
    XSetForeground(display, gc, colour);
    XFillRectangle(display, tile, gc, 0, 0, 1, 1);
    XFreeGC(display, gc);
    const Atom rootPixmap = XInternAtom(display, "_XROOTPMAP_ID", False);
    XChangeProperty(display, root, rootPixmap, XA_PIXMAP, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&tile), 1);
    XSetWindowBackgroundPixmap(display, root, tile);
    XClearWindow(display, root);
    XSync(display, False);
}

std::string windowManagerName() {
    const char* name = std::getenv("TILEWISE_X11_WM");
    return name == nullptr ? "none" : name;
}

X11Test::X11Test() : connection_(openConnection()), atoms_(x11::Atoms::intern(display())) {
    XSelectInput(display(), root(), PropertyChangeMask | SubstructureNotifyMask);
}

TestWindow X11Test::openTestWindow(const std::vector<std::string>& arguments) {
    std::vector<std::string> command{TILEWISE_X11_TEST_CLIENT};
    command.insert(command.end(), arguments.begin(), arguments.end());
    TestWindow window(ChildProcess(command), None);
    const auto line = window.process.readLine(kServerTimeout);
    if (!line) {
        ADD_FAILURE() << "the test client did not report its window";
        return window;
    }
    window.id = std::strtoul(line->c_str(), nullptr, 16);
    return window;
}

TestWindow X11Test::openXterm(const std::vector<std::string>& arguments) {
    std::vector<std::string> command{"xterm"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return openProgram(command, "XTerm");
}

TestWindow X11Test::openProgram(const std::vector<std::string>& command,
                                const std::string& windowClass) {
    const auto before = clients();
    TestWindow window(ChildProcess(command, ChildProcess::Ending::terminate), None,
                      [this](Window id) { waitUntilUnlisted(id); });
    // By class, not by process: some programs do not say which process they are.
    waitForProperty(root(), atoms_.netClientList, [&] {
        for (const Window client : clients()) {
            if (std::ranges::find(before, client) == before.end() &&
                x11::Properties::windowClass(display(), client) == windowClass) {
                window.id = client;
            }
        }
        return window.id != None;
    });
    EXPECT_NE(window.id, None) << command.front() << " did not show up among the clients";
    return window;
}

std::vector<Window> X11Test::clients() {
    return x11::Properties::windows(display(), root(), atoms_.netClientList)
        .value_or(std::vector<Window>{});
}

void X11Test::waitUntilUnlisted(Window window) {
    waitForProperty(root(), atoms_.netClientList, [&] {
        const auto listed = clients();
        return std::find(listed.begin(), listed.end(), window) == listed.end();
    });
}

void X11Test::focus(Window window) {
    // A window opened just before may still be being managed, and focused, by the manager; its
    // late focus change would undo ours, so let the manager catch up first.
    x11::WindowManagerSync manager{display(), atoms_};
    manager.waitForManager(std::chrono::milliseconds{500},
                           [](const XEvent&) { return x11::WindowManagerSync::Sign::unrelated; });
    XSetInputFocus(display(), window, RevertToPointerRoot, CurrentTime);
    const bool active = waitForProperty(root(), atoms_.netActiveWindow, [&] {
        return x11::Properties::window(display(), root(), atoms_.netActiveWindow) == window;
    });
    ASSERT_TRUE(active) << "the window manager did not make the window active";
}

Rect X11Test::frameByTree(Window window) {
    Window current = window;
    for (;;) {
        Window rootReturn = None, parent = None;
        Window* children = nullptr;
        unsigned count = 0;
        if (XQueryTree(display(), current, &rootReturn, &parent, &children, &count) == 0)
            break;
        if (children != nullptr)
            XFree(children);
        if (parent == rootReturn)
            break;
        current = parent;
    }
    XWindowAttributes attributes{};
    XGetWindowAttributes(display(), current, &attributes);
    const int border = attributes.border_width;
    return Rect(attributes.x, attributes.y, attributes.width + 2 * border,
                attributes.height + 2 * border);
}

bool X11Test::waitForEvent(const std::function<bool(const XEvent&)>& accept,
                           std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        while (XPending(display()) > 0) {
            XEvent event;
            XNextEvent(display(), &event);
            if (accept(event))
                return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd descriptor{ConnectionNumber(display()), POLLIN, 0};
        if (left.count() <= 0 || poll(&descriptor, 1, static_cast<int>(left.count())) <= 0) {
            return false;
        }
    }
}

bool X11Test::waitForProperty(Window window, Atom property, const std::function<bool()>& settled) {
    if (window != root())
        XSelectInput(display(), window, PropertyChangeMask | StructureNotifyMask);
    XSync(display(), False);
    if (settled())
        return true;
    return waitForEvent([&](const XEvent& event) {
        return event.type == PropertyNotify && event.xproperty.window == window &&
               event.xproperty.atom == property && settled();
    });
}

}  // namespace tilewise::testing

#include "platform/x11/X11PanelPlatform.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <string>

#include "platform/x11/ErrorTrap.h"
#include "platform/x11/VirtualKeyCodes.h"

namespace tilewise::x11 {
namespace {

// The evdev driver numbers X key codes eight above the kernel's key codes.
constexpr std::uint32_t kEvdevOffset = 8;

Atom screenSelection(Display* display, const char* prefix) {
    const std::string name = prefix + std::to_string(DefaultScreen(display));
    return XInternAtom(display, name.c_str(), False);
}

}  // namespace

X11PanelPlatform::X11PanelPlatform(Display* display, X11EventLoop* events)
    : display_(display), events_(events) {
    if (events_ == nullptr)
        return;
    listener_ = events_->listen([this](const XEvent& event) {
        if (event.type != DestroyNotify || event.xdestroywindow.window != watchedOwner_)
            return;
        watchedOwner_ = None;
        if (onCompositorGone)
            onCompositorGone();
    });
}

X11PanelPlatform::~X11PanelPlatform() {
    if (events_ != nullptr)
        events_->unlisten(listener_);
}

bool X11PanelPlatform::compositorRunning() {
    const Window owner = XGetSelectionOwner(display_, screenSelection(display_, "_NET_WM_CM_S"));
    if (owner != None && owner != watchedOwner_ && events_ != nullptr)
        watch(owner);
    return owner != None;
}

// The selection's owner is a window of the compositing manager's own, destroyed when it ends.
void X11PanelPlatform::watch(Window owner) {
    ErrorTrap trap(display_);
    XSelectInput(display_, owner, StructureNotifyMask);
    // Gone already: the next question finds no owner.
    if (!trap.check())
        watchedOwner_ = owner;
}

std::optional<std::uint16_t> X11PanelPlatform::virtualKeyCode(std::uint32_t nativeScanCode) {
    if (nativeScanCode < kEvdevOffset || nativeScanCode > 0xFFFF)
        return std::nullopt;
    return VirtualKeyCodes::virtualKeyCode(
        static_cast<std::uint16_t>(nativeScanCode - kEvdevOffset));
}

// A managed window sits inside the window manager's frame, a child of the root: the frame is
// what stacks among the root's children.
void X11PanelPlatform::stackBelow(std::uint64_t window, std::uint64_t sibling) {
    ErrorTrap trap(display_);
    Window topLevel = static_cast<Window>(sibling);
    for (;;) {
        Window root = None;
        Window parent = None;
        Window* children = nullptr;
        unsigned count = 0;
        if (XQueryTree(display_, topLevel, &root, &parent, &children, &count) == 0)
            return;
        if (children != nullptr)
            XFree(children);
        if (parent == root || parent == None)
            break;
        topLevel = parent;
    }
    XWindowChanges changes{};
    changes.sibling = topLevel;
    changes.stack_mode = Below;
    XConfigureWindow(display_, static_cast<Window>(window), CWSibling | CWStackMode, &changes);
    trap.check();
}

bool X11PanelPlatform::coveredByOthers(std::uint64_t window, std::span<const std::uint64_t> own) {
    ErrorTrap trap(display_);
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count) == 0)
        return true;
    // Listed from the bottom: what follows the window lies above it.
    const std::span<const Window> stack(children, count);
    const auto self = std::ranges::find(stack, static_cast<Window>(window));
    const bool covered =
        self == stack.end() || std::any_of(self + 1, stack.end(), [&](Window above) {
            XWindowAttributes attributes{};
            return std::ranges::find(own, above) == own.end() &&
                   XGetWindowAttributes(display_, above, &attributes) != 0 &&
                   attributes.map_state == IsViewable;
        });
    if (children != nullptr)
        XFree(children);
    return covered;
}

}  // namespace tilewise::x11

#include "platform/x11/X11PanelPlatform.h"

#include <X11/Xatom.h>

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

bool X11PanelPlatform::compositorRunning() {
    return XGetSelectionOwner(display_, screenSelection(display_, "_NET_WM_CM_S")) != None;
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

}  // namespace tilewise::x11

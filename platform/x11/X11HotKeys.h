#pragma once

#include <array>
#include <map>

#include "platform/HotKeys.h"
#include "platform/x11/X11EventLoop.h"

namespace tilewise::x11 {

/// Hot keys as passive key grabs on the root window. Each combination is grabbed with every
/// Caps, Num and Scroll Lock variant, so it works whatever locks are on; a grab another client
/// holds (BadAccess) is eventHotKeyExistsErr, with the variants already taken released again.
/// Auto-repeat is made detectable, so a held key sends one release; mapping changes re-grab.
class X11HotKeys final : public HotKeys {
  public:
    X11HotKeys(Display* display, X11EventLoop& events);
    ~X11HotKeys() override;

    EventHandlerInstallation installEventHandler(HotKeyEventHandler handler) override;
    OSStatus removeEventHandler(EventHandlerRef handler) override;
    HotKeyRegistration registerEventHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                           EventHotKeyID id, std::uint32_t options) override;
    OSStatus unregisterEventHotKey(EventHotKeyRef ref) override;
    /// No desktop-neutral list of the desktop's own shortcuts exists on X11 (each window
    /// manager keeps its own configuration), so the list is empty.
    SymbolicHotKeys copySymbolicHotKeys() override { return {noErr, std::vector<PropertyDictionary>{}}; }

  private:
    struct Grab {
        unsigned keycode = 0;
        unsigned modifiers = 0;
        EventHotKeyID id;
    };

    bool grab(const Grab& grab);
    void ungrab(const Grab& grab);
    void readLockMasks();
    /// Every combination of the Caps, Num and Scroll Lock masks.
    std::array<unsigned, 8> lockVariants() const;
    void handle(const XEvent& event);

    Display* display_;
    X11EventLoop& events_;
    std::uint64_t listener_ = 0;
    unsigned numLock_ = 0;
    unsigned scrollLock_ = 0;
    std::map<EventHandlerRef, HotKeyEventHandler> handlers_;
    std::map<EventHotKeyRef, Grab> grabs_;
    std::uint64_t nextRef_ = 1;
};

}  // namespace tilewise::x11

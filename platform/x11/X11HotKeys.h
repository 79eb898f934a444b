#pragma once

#include <X11/Xlib.h>

#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/HotKeyHandlers.h"
#include "platform/HotKeys.h"
#include "platform/Scheduler.h"
#include "platform/x11/ModifierMasks.h"
#include "platform/x11/X11Connection.h"

namespace tilewise::x11 {

/// Hot keys as passive key grabs on the root window, one grab per lock-key variant, so that a
/// shortcut works whatever the state of Caps, Num and Scroll Lock. A grab another client holds
/// is the "hot key already exists" status. A press hands the keyboard back at once; the
/// release is seen through the input extension's raw events. Events come from `processEvents`,
/// which an event loop calls when the connection has data (`watchFromEventLoop`) and tests
/// call directly.
/// Main thread only.
class X11HotKeys final : public HotKeys {
  public:
    /// Takes a connection of its own: its event queue carries only key and mapping events.
    /// `scheduler` is the main queue: it watches the connection and runs event processing that
    /// a round trip of the hot keys' own left queued.
    X11HotKeys(X11Connection connection, Scheduler& scheduler);
    ~X11HotKeys() override;

    EventHandlerInstallation installEventHandler(HotKeyEventHandler handler) override;
    OSStatus removeEventHandler(EventHandlerRef handler) override;
    HotKeyRegistration registerEventHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                           EventHotKeyID id, std::uint32_t options) override;
    OSStatus unregisterEventHotKey(EventHotKeyRef ref) override;
    SymbolicHotKeys copySymbolicHotKeys() override;

    /// Makes one round trip, then handles every event the server sent before it: key presses
    /// and releases go to the handlers, keyboard-mapping changes re-grab every hot key.
    void processEvents();
    /// Calls `processEvents` from the scheduler's loop whenever the connection has data.
    void watchFromEventLoop();

  private:
    using Combination = std::pair<unsigned, unsigned>;  ///< X keycode, X modifier state

    struct Registration {
        std::uint32_t keyCode;
        std::uint32_t carbonModifiers;
        EventHotKeyID id;
        Combination combination;
    };

    std::optional<Combination> combinationFor(std::uint32_t keyCode,
                                              std::uint32_t carbonModifiers) const;
    OSStatus grab(Combination combination);
    void ungrab(Combination combination);
    bool isInUse(Combination combination) const;
    void regrabAll();
    void handle(XEvent& event);
    void onKeyPress(const XKeyEvent& event);
    void onKeyRelease(int keycode);
    void watchRawReleases();
    void deliver(std::uint32_t kind, const std::vector<EventHotKeyID>& ids);
    void processEventsLeftQueued();

    X11Connection connection_;
    Scheduler& scheduler_;
    ModifierMasks masks_;
    int xkbEventBase_ = -1;
    int xiOpcode_ = -1;  ///< -1 without the input extension: the grab then lasts until release
    int minKeycode_ = 0;
    int maxKeycode_ = 0;
    std::uint64_t nextRef_ = 1;
    HotKeyHandlers handlers_;
    std::map<EventHotKeyRef, Registration> registrations_;
    std::map<unsigned, std::vector<EventHotKeyRef>> keysDown_;  ///< by X keycode
    std::optional<Scheduler::TaskId> queuedProcessing_;
    std::unique_ptr<ReadableWatch> watch_;
};

}  // namespace tilewise::x11

#pragma once

#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "platform/HotKeyHandlers.h"
#include "platform/HotKeys.h"

namespace tilewise::sim {

/// Hot keys of the simulated desktop. Combinations can be held by "another application";
/// pressing and releasing keys delivers events to the installed handlers as the system does,
/// repeats included. Main thread.
class SimHotKeys final : public HotKeys {
  public:
    using Combination = std::pair<std::uint32_t, std::uint32_t>;  ///< key code, Carbon flags

    SimHotKeys();

    EventHandlerInstallation installEventHandler(HotKeyEventHandler handler) override;
    OSStatus removeEventHandler(EventHandlerRef handler) override;
    HotKeyRegistration registerEventHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                           EventHotKeyID id, std::uint32_t options) override;
    OSStatus unregisterEventHotKey(EventHotKeyRef ref) override;
    SymbolicHotKeys copySymbolicHotKeys() override { return symbolicHotKeys_; }

    /// Makes another application hold (or let go of) a combination exclusively.
    void holdByAnotherApplication(Combination combination, bool held = true);
    /// Makes registering a combination fail with `status` (0: succeed without a reference).
    void failRegistration(Combination combination, OSStatus status);
    /// Makes installing the next handler fail with `status`.
    void failHandlerInstallation(OSStatus status) { handlerFailure_ = status; }
    void setSymbolicHotKeys(SymbolicHotKeys hotKeys) { symbolicHotKeys_ = std::move(hotKeys); }

    /// The key goes down (again, while held: a repeat). Returns what the handlers answered,
    /// or eventNotHandledErr when nothing of ours is registered for it.
    OSStatus press(Combination combination);
    /// The key goes up.
    OSStatus release(Combination combination);
    /// Delivers an arbitrary event to the handlers, newest handler first, until one handles it.
    OSStatus deliver(const HotKeyEvent& event);

    bool isRegistered(Combination combination) const;
    std::size_t registrationCount() const { return registrations_.size(); }

  private:
    struct Registration {
        Combination combination;
        EventHotKeyID id;
    };

    OSStatus send(Combination combination, std::uint32_t kind);

    std::uint64_t nextRef_ = 1;
    HotKeyHandlers handlers_;
    std::map<EventHotKeyRef, Registration> registrations_;
    std::set<Combination> heldElsewhere_;
    std::map<Combination, OSStatus> registrationFailures_;
    std::optional<OSStatus> handlerFailure_;
    SymbolicHotKeys symbolicHotKeys_;
};

}  // namespace tilewise::sim

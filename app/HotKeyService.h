#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "core/KeyCombo.h"
#include "platform/HotKeys.h"

namespace tilewise {

/// Makes keyboard shortcuts work while another application is in front: registers each one
/// with the system and runs its action once per physical press. Main thread only.
class HotKeyService {
  public:
    /// Why a shortcut is or is not active.
    class Status {
      public:
        enum class Kind {
            unsupported,
            failed,
            registered,
            conflict,
            systemShortcut,
            deferredForDivvy
        };

        constexpr Status(Kind kind) : kind_(kind) {}
        static Status unsupported(KeyCombo::Problem problem);
        static Status failed(OSStatus code);

        Kind kind() const { return kind_; }
        /// The reason of `unsupported`.
        std::optional<KeyCombo::Problem> problem() const { return problem_; }
        /// The platform status of `failed`; 0 otherwise.
        OSStatus code() const { return code_; }
        /// The sentence for the user; absent for `registered`.
        std::optional<std::string> userDescription() const;

        bool operator==(const Status&) const = default;

      private:
        Kind kind_;
        std::optional<KeyCombo::Problem> problem_;
        OSStatus code_ = 0;
    };

    using RegistrationID = std::uint32_t;
    using Action = std::function<void()>;

    /// Stamped on every hot key this service registers.
    static constexpr std::uint32_t kSignature = fourCharCode("TLWS");

    /// Installs the event handler; when that fails the failure is logged and registrations
    /// still succeed, but no action will run.
    explicit HotKeyService(HotKeys& hotKeys);
    HotKeyService(const HotKeyService&) = delete;
    HotKeyService& operator=(const HotKeyService&) = delete;
    /// Unregisters every entry, transient or not, and removes the handler.
    ~HotKeyService();

    /// Registers `combo` exclusively. Returns `registered` with the new id, or `conflict` or
    /// `failed(code)` without one; the id is used up either way.
    std::pair<Status, std::optional<RegistrationID>> add(const KeyCombo& combo, bool transient,
                                                         Action action);
    /// Removes one entry, transient or not; an unknown id does nothing.
    void unregister(RegistrationID id);
    /// Removes every entry that is not transient.
    void unregisterAll();

    /// True when an enabled keyboard shortcut of the system uses the same key and modifiers;
    /// false too when the system's list cannot be read.
    static bool isSystemShortcut(const KeyCombo& combo, HotKeys& hotKeys);

  private:
    struct Entry {
        EventHotKeyRef ref = 0;
        Action action;
        bool isTransient = false;
        bool isDown = false;
    };

    OSStatus handle(const HotKeyEvent& event);

    HotKeys& hotKeys_;
    std::map<RegistrationID, Entry> entries_;
    RegistrationID nextID_ = 1;
    std::optional<EventHandlerRef> handlerRef_;
};

}  // namespace tilewise

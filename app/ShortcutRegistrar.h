#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/HotKeyService.h"
#include "core/Settings.h"
#include "core/Uuid.h"

namespace tilewise {

/// Turns the settings into the global shortcuts that are really registered, and says for each
/// one why it is or is not active. An unchanged set of shortcuts is not registered again.
/// Main thread only.
class ShortcutRegistrar {
  public:
    /// The outcome of one registration pass.
    struct Statuses {
        /// Absent when the panel shortcut is off or unset.
        std::optional<HotKeyService::Status> panel;
        /// One entry per enabled global layout with a shortcut.
        std::map<Uuid, HotKeyService::Status> layouts;
        /// How many combinations were registered, the panel shortcut included.
        std::size_t registeredCount = 0;

        bool operator==(const Statuses&) const = default;
    };

    struct Actions {
        std::function<void()> togglePanel;
        std::function<void(const Uuid& layoutID)> applyLayout;
    };

    /// `hotKeys` registers; `system` answers which combinations the desktop itself uses.
    ShortcutRegistrar(HotKeyService& hotKeys, HotKeys& system);

    /// The description of the set of shortcuts that `settings` asks for: "panel:" and the
    /// panel shortcut, then "<layout id>:" and each layout's global shortcut, in order; a
    /// shortcut is "<key code>/<modifiers>", no shortcut is "-".
    static std::vector<std::string> shortcutsKey(const TilewiseSettings& settings);

    /// Registers every shortcut of `settings` anew, stepping aside for the combinations in
    /// `paused` (those a running Divvy uses). Unless `force`, does nothing and returns absent
    /// when the set of shortcuts is the one registered last.
    std::optional<Statuses> registerAll(const TilewiseSettings& settings, bool force,
                                        const std::unordered_set<KeyCombo>& paused,
                                        const Actions& actions);

  private:
    HotKeyService::Status statusFor(const KeyCombo& combo,
                                    const std::unordered_set<KeyCombo>& paused,
                                    std::function<void()> action);

    HotKeyService& hotKeys_;
    HotKeys& system_;
    std::optional<std::vector<std::string>> registeredKey_;
};

}  // namespace tilewise

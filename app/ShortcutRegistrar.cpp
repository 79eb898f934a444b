#include "app/ShortcutRegistrar.h"

#include "platform/Log.h"

namespace tilewise {
namespace {

std::string describe(const std::optional<KeyCombo>& shortcut) {
    if (!shortcut) {
        return "-";
    }
    return std::to_string(shortcut->keyCode) + "/" + std::to_string(shortcut->modifiers.rawValue());
}

std::optional<KeyCombo> registrableShortcut(const SavedLayout& layout) {
    if (!layout.enabled || !layout.isGlobal) {
        return std::nullopt;
    }
    return layout.shortcut;
}

std::optional<KeyCombo> panelShortcut(const TilewiseSettings& settings) {
    return settings.panelShortcutEnabled ? settings.panelShortcut : std::nullopt;
}

}  // namespace

ShortcutRegistrar::ShortcutRegistrar(HotKeyService& hotKeys, HotKeys& system)
    : hotKeys_(hotKeys), system_(system) {}

std::vector<std::string> ShortcutRegistrar::shortcutsKey(const TilewiseSettings& settings) {
    std::vector<std::string> key{"panel:" + describe(panelShortcut(settings))};
    for (const auto& layout : settings.layouts) {
        key.push_back(layout.id.string() + ":" + describe(registrableShortcut(layout)));
    }
    return key;
}

std::optional<ShortcutRegistrar::Statuses> ShortcutRegistrar::registerAll(
    const TilewiseSettings& settings, bool force, const std::unordered_set<KeyCombo>& paused,
    const Actions& actions) {
    auto key = shortcutsKey(settings);
    if (!force && registeredKey_ == key) {
        return std::nullopt;
    }
    registeredKey_ = std::move(key);
    hotKeys_.unregisterAll();

    Statuses statuses;
    std::unordered_set<KeyCombo> used;
    if (const auto combo = panelShortcut(settings)) {
        // For the panel, Divvy's pause comes before the combination's own validity.
        statuses.panel = paused.contains(*combo)
                             ? HotKeyService::Status{HotKeyService::Status::Kind::deferredForDivvy}
                             : statusFor(*combo, {}, actions.togglePanel);
        if (*statuses.panel == HotKeyService::Status::Kind::registered) {
            used.insert(*combo);
        }
    }
    for (const auto& layout : settings.layouts) {
        const auto combo = registrableShortcut(layout);
        if (!combo) {
            continue;
        }
        const auto status =
            used.contains(*combo)
                ? HotKeyService::Status{HotKeyService::Status::Kind::conflict}
                : statusFor(*combo, paused, [apply = actions.applyLayout, id = layout.id] {
                      if (apply) {
                          apply(id);
                      }
                  });
        statuses.layouts.insert_or_assign(layout.id, status);
        if (status == HotKeyService::Status::Kind::registered) {
            used.insert(*combo);
        }
    }
    statuses.registeredCount = used.size();
    Log::info(LogCategory::app, "registered " + std::to_string(used.size()) + " global shortcuts");
    return statuses;
}

HotKeyService::Status ShortcutRegistrar::statusFor(const KeyCombo& combo,
                                                   const std::unordered_set<KeyCombo>& paused,
                                                   std::function<void()> action) {
    if (paused.contains(combo)) {
        return HotKeyService::Status::Kind::deferredForDivvy;
    }
    if (const auto problem = combo.globalRegistrationProblem()) {
        return HotKeyService::Status::unsupported(*problem);
    }
    if (HotKeyService::isSystemShortcut(combo, system_)) {
        return HotKeyService::Status::Kind::systemShortcut;
    }
    return hotKeys_.add(combo, false, std::move(action)).first;
}

}  // namespace tilewise

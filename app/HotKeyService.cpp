#include "app/HotKeyService.h"

#include <limits>

#include "platform/Log.h"

namespace tilewise {
namespace {

// The command, shift, option and control bits; the system adds others to some entries.
constexpr std::int64_t kModifierBits = 0x1B00;

template <typename T>
const T* entryOf(const PropertyDictionary& dictionary, std::string_view key) {
    const auto found = dictionary.find(key);
    return found == dictionary.end() ? nullptr : std::get_if<T>(&found->second);
}

bool matches(const PropertyDictionary& hotKey, const KeyCombo& combo, std::uint32_t flags) {
    const auto* enabled = entryOf<bool>(hotKey, kHISymbolicHotKeyEnabled);
    const auto* code = entryOf<std::int64_t>(hotKey, kHISymbolicHotKeyCode);
    const auto* modifiers = entryOf<std::int64_t>(hotKey, kHISymbolicHotKeyModifiers);
    // A modifier value outside the unsigned 32-bit range is not one the system could mean.
    if (!enabled || !*enabled || !code || !modifiers || *modifiers < 0 ||
        *modifiers > std::numeric_limits<std::uint32_t>::max()) {
        return false;
    }
    return *code == combo.keyCode && (*modifiers & kModifierBits) == flags;
}

}  // namespace

HotKeyService::Status HotKeyService::Status::unsupported(KeyCombo::Problem problem) {
    Status status{Kind::unsupported};
    status.problem_ = problem;
    return status;
}

HotKeyService::Status HotKeyService::Status::failed(OSStatus code) {
    Status status{Kind::failed};
    status.code_ = code;
    return status;
}

std::optional<std::string> HotKeyService::Status::userDescription() const {
    switch (kind_) {
        case Kind::unsupported:
            return problem_ ? std::optional{std::string{description(*problem_)}} : std::nullopt;
        case Kind::failed:
            return "Registration failed (" + std::to_string(code_) + ")";
        case Kind::registered:
            return std::nullopt;
        case Kind::conflict:
            return "In use by another app or another Tilewise shortcut";
        case Kind::systemShortcut:
            return "Reserved by a macOS keyboard shortcut";
        case Kind::deferredForDivvy:
            return "Paused while Divvy is running";
    }
    return std::nullopt;
}

HotKeyService::HotKeyService(HotKeys& hotKeys) : hotKeys_(hotKeys) {
    // The handler is removed in the destructor, so it never runs on a destroyed service.
    const auto installed =
        hotKeys_.installEventHandler([this](const HotKeyEvent& event) { return handle(event); });
    if (installed.status == noErr) {
        handlerRef_ = installed.ref;
    } else {
        Log::error(LogCategory::hotkeys,
                   "InstallEventHandler failed: " + std::to_string(installed.status));
    }
}

HotKeyService::~HotKeyService() {
    for (const auto& [id, entry] : entries_) {
        hotKeys_.unregisterEventHotKey(entry.ref);
    }
    if (handlerRef_) {
        hotKeys_.removeEventHandler(*handlerRef_);
    }
}

std::pair<HotKeyService::Status, std::optional<HotKeyService::RegistrationID>> HotKeyService::add(
    const KeyCombo& combo, bool transient, Action action) {
    const RegistrationID id = nextID_++;
    const auto registration = hotKeys_.registerEventHotKey(
        combo.keyCode, combo.modifiers.carbonFlags(), {kSignature, id}, kEventHotKeyExclusive);
    if (registration.status == eventHotKeyExistsErr) {
        return {Status::Kind::conflict, std::nullopt};
    }
    if (registration.status != noErr) {
        Log::error(LogCategory::hotkeys,
                   "RegisterEventHotKey failed: " + std::to_string(registration.status));
        return {Status::failed(registration.status), std::nullopt};
    }
    if (registration.ref == 0) {
        return {Status::failed(0), std::nullopt};
    }
    entries_.emplace(id, Entry{registration.ref, std::move(action), transient, false});
    return {Status::Kind::registered, id};
}

void HotKeyService::unregister(RegistrationID id) {
    const auto entry = entries_.find(id);
    if (entry == entries_.end()) {
        return;
    }
    const EventHotKeyRef ref = entry->second.ref;
    entries_.erase(entry);
    hotKeys_.unregisterEventHotKey(ref);
}

void HotKeyService::unregisterAll() {
    std::erase_if(entries_, [this](const auto& item) {
        if (item.second.isTransient) {
            return false;
        }
        hotKeys_.unregisterEventHotKey(item.second.ref);
        return true;
    });
}

OSStatus HotKeyService::handle(const HotKeyEvent& event) {
    if (!event.hotKeyID || event.hotKeyID->signature != kSignature) {
        return eventNotHandledErr;
    }
    const auto entry = entries_.find(event.hotKeyID->id);
    if (entry == entries_.end()) {
        return eventNotHandledErr;
    }
    if (event.kind == kEventHotKeyReleased) {
        entry->second.isDown = false;
        return noErr;
    }
    if (entry->second.isDown) {
        return noErr;
    }
    entry->second.isDown = true;
    // A copy: the action may unregister its own entry (the panel's Escape key does).
    const Action action = entry->second.action;
    if (action) {
        action();
    }
    return noErr;
}

bool HotKeyService::isSystemShortcut(const KeyCombo& combo, HotKeys& hotKeys) {
    const auto system = hotKeys.copySymbolicHotKeys();
    if (system.status != noErr || !system.hotKeys) {
        return false;
    }
    const std::uint32_t flags = combo.modifiers.carbonFlags();
    for (const auto& hotKey : *system.hotKeys) {
        if (matches(hotKey, combo, flags)) {
            return true;
        }
    }
    return false;
}

}  // namespace tilewise

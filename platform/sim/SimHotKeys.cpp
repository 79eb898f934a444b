#include "platform/sim/SimHotKeys.h"

#include <algorithm>

namespace tilewise::sim {
namespace {

constexpr std::uint32_t kCommand = 0x100;
constexpr std::uint32_t kShift = 0x200;
constexpr std::uint32_t kControl = 0x1000;
constexpr std::uint32_t kSpace = 49;
constexpr std::uint32_t kTab = 48;
constexpr std::uint32_t kUpArrow = 126;
// The system adds bits outside the four modifier flags to some of its entries.
constexpr std::int64_t kFunctionBit = 0x800000;

PropertyDictionary symbolicHotKey(std::uint32_t keyCode, std::int64_t modifiers, bool enabled) {
    return {{std::string{kHISymbolicHotKeyCode}, std::int64_t{keyCode}},
            {std::string{kHISymbolicHotKeyModifiers}, modifiers},
            {std::string{kHISymbolicHotKeyEnabled}, enabled}};
}

}  // namespace

SimHotKeys::SimHotKeys()
    : symbolicHotKeys_{noErr, std::vector<PropertyDictionary>{
                                  symbolicHotKey(kSpace, kCommand, true),
                                  symbolicHotKey(kSpace, kCommand | 0x800, true),
                                  symbolicHotKey(kTab, kCommand | kShift, false),
                                  symbolicHotKey(kUpArrow, kControl | kFunctionBit, true),
                              }} {}

EventHandlerInstallation SimHotKeys::installEventHandler(HotKeyEventHandler handler) {
    if (handlerFailure_) {
        return {std::exchange(handlerFailure_, std::nullopt).value(), 0};
    }
    return handlers_.install(std::move(handler));
}

OSStatus SimHotKeys::removeEventHandler(EventHandlerRef handler) {
    return handlers_.remove(handler);
}

HotKeyRegistration SimHotKeys::registerEventHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                                   EventHotKeyID id, std::uint32_t options) {
    const Combination combination{keyCode, modifiers};
    if (const auto failure = registrationFailures_.find(combination);
        failure != registrationFailures_.end()) {
        return {failure->second, 0};
    }
    // Other applications register exclusively; ours only conflict when the new one asks to.
    if (heldElsewhere_.contains(combination) ||
        ((options & kEventHotKeyExclusive) != 0 && isRegistered(combination))) {
        return {eventHotKeyExistsErr, 0};
    }
    const EventHotKeyRef ref = nextRef_++;
    registrations_.emplace(ref, Registration{combination, id});
    return {noErr, ref};
}

OSStatus SimHotKeys::unregisterEventHotKey(EventHotKeyRef ref) {
    return registrations_.erase(ref) == 1 ? noErr : paramErr;
}

void SimHotKeys::holdByAnotherApplication(Combination combination, bool held) {
    if (held) {
        heldElsewhere_.insert(combination);
    } else {
        heldElsewhere_.erase(combination);
    }
}

void SimHotKeys::failRegistration(Combination combination, OSStatus status) {
    registrationFailures_[combination] = status;
}

OSStatus SimHotKeys::press(Combination combination) {
    return send(combination, kEventHotKeyPressed);
}

OSStatus SimHotKeys::release(Combination combination) {
    return send(combination, kEventHotKeyReleased);
}

OSStatus SimHotKeys::send(Combination combination, std::uint32_t kind) {
    const auto registration =
        std::find_if(registrations_.begin(), registrations_.end(),
                     [&](const auto& entry) { return entry.second.combination == combination; });
    if (registration == registrations_.end()) {
        return eventNotHandledErr;
    }
    return deliver({kEventClassKeyboard, kind, registration->second.id});
}

OSStatus SimHotKeys::deliver(const HotKeyEvent& event) {
    return handlers_.deliver(event);
}

bool SimHotKeys::isRegistered(Combination combination) const {
    return std::any_of(registrations_.begin(), registrations_.end(),
                       [&](const auto& entry) { return entry.second.combination == combination; });
}

}  // namespace tilewise::sim

#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/PropertyValue.h"

namespace tilewise {

/// A Carbon status code; the hot-key operations answer with the macOS values.
using OSStatus = std::int32_t;
inline constexpr OSStatus noErr = 0;
inline constexpr OSStatus paramErr = -50;
inline constexpr OSStatus eventNotHandledErr = -9874;
inline constexpr OSStatus eventHotKeyExistsErr = -9878;
inline constexpr OSStatus eventHotKeyInvalidErr = -9879;

/// A four-character code read as a big-endian number ("keyb" → 0x6B657962).
constexpr std::uint32_t fourCharCode(std::string_view code) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<std::uint8_t>(i < code.size() ? code[i] : ' ');
    }
    return value;
}

inline constexpr std::uint32_t kEventClassKeyboard = fourCharCode("keyb");
inline constexpr std::uint32_t kEventHotKeyPressed = 5;
inline constexpr std::uint32_t kEventHotKeyReleased = 6;
/// Registration option: fail with eventHotKeyExistsErr instead of sharing the key.
inline constexpr std::uint32_t kEventHotKeyExclusive = 1;

/// Keys of a symbolic hot key's dictionary.
inline constexpr std::string_view kHISymbolicHotKeyCode = "kHISymbolicHotKeyCode";
inline constexpr std::string_view kHISymbolicHotKeyModifiers = "kHISymbolicHotKeyModifiers";
inline constexpr std::string_view kHISymbolicHotKeyEnabled = "kHISymbolicHotKeyEnabled";

/// Identifies a registration in the events it produces: the registrant's signature and its
/// own number.
struct EventHotKeyID {
    std::uint32_t signature = 0;
    std::uint32_t id = 0;

    bool operator==(const EventHotKeyID&) const = default;
};

/// A hot-key event as the installed handler receives it. `hotKeyID` is absent when the
/// event's hot-key id parameter could not be read.
struct HotKeyEvent {
    std::uint32_t eventClass = kEventClassKeyboard;
    std::uint32_t kind = kEventHotKeyPressed;
    std::optional<EventHotKeyID> hotKeyID;
};

/// Opaque references handed out by the backend; 0 is never a valid reference.
using EventHotKeyRef = std::uint64_t;
using EventHandlerRef = std::uint64_t;

struct HotKeyRegistration {
    OSStatus status = noErr;
    EventHotKeyRef ref = 0;  ///< 0 unless the status is noErr
};

struct EventHandlerInstallation {
    OSStatus status = noErr;
    EventHandlerRef ref = 0;  ///< 0 unless the status is noErr
};

/// The system's own keyboard shortcuts (CopySymbolicHotKeys): on success an array of
/// dictionaries keyed by the kHISymbolicHotKey… names, whose values keep the types the system
/// gave them. `hotKeys` is absent when the status is not noErr or no array came back.
struct SymbolicHotKeys {
    OSStatus status = noErr;
    std::optional<std::vector<PropertyDictionary>> hotKeys;
};

/// Answers one hot-key event: noErr when handled, eventNotHandledErr to let others have it.
using HotKeyEventHandler = std::function<OSStatus(const HotKeyEvent&)>;

/// System-wide hot keys in the shape of the Carbon event manager. Key codes are macOS virtual
/// key codes and modifiers are Carbon flags (command 0x100, shift 0x200, option 0x800,
/// control 0x1000) whatever the backend; an X11 backend maps them to key positions and masks
/// and grabs every lock-key variant. Main thread only; handlers run on the main thread.
class HotKeys {
  public:
    HotKeys() = default;
    HotKeys(const HotKeys&) = delete;
    HotKeys& operator=(const HotKeys&) = delete;
    virtual ~HotKeys() = default;

    /// Installs a handler for the pressed (kind 5) and released (kind 6) hot-key events of the
    /// keyboard class. A key held down delivers one press, possibly repeated presses, and one
    /// release. Returns noErr and a reference, or a non-zero status and reference 0.
    virtual EventHandlerInstallation installEventHandler(HotKeyEventHandler handler) = 0;
    /// Removes an installed handler; paramErr for an unknown reference.
    virtual OSStatus removeEventHandler(EventHandlerRef handler) = 0;

    /// Registers a hot key (RegisterEventHotKey) whose events carry `id`. `options` is 0 or
    /// kEventHotKeyExclusive. Returns noErr and a non-zero reference; eventHotKeyExistsErr when
    /// the combination is already registered, by another application or by this one;
    /// eventHotKeyInvalidErr when the key cannot be a hot key on this system; another
    /// non-zero status for any other failure.
    virtual HotKeyRegistration registerEventHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                                   EventHotKeyID id, std::uint32_t options) = 0;
    /// Unregisters a hot key; paramErr for an unknown reference.
    virtual OSStatus unregisterEventHotKey(EventHotKeyRef ref) = 0;

    /// The system's own keyboard shortcuts; see SymbolicHotKeys. A backend whose desktop has
    /// no such list answers noErr with an empty array.
    virtual SymbolicHotKeys copySymbolicHotKeys() = 0;
};

}  // namespace tilewise

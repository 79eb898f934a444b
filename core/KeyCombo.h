#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "core/Hashing.h"

namespace tilewise {

/// The modifier keys held with a key, as the bits of the system's event modifier flags. The raw
/// value never holds a bit outside `all`: every constructor and operation masks its result, so
/// caps lock, keypad and device bits of an event or a stored file are dropped silently.
class Modifiers {
  public:
    static constexpr std::uint64_t kMask = 0x1E0000;

    static const Modifiers shift;
    static const Modifiers control;
    static const Modifiers option;
    static const Modifiers command;
    static const Modifiers all;

    constexpr Modifiers() = default;
    constexpr explicit Modifiers(std::uint64_t rawValue) : rawValue_(rawValue & kMask) {}
    /// The union of the listed members.
    constexpr Modifiers(std::initializer_list<Modifiers> members) {
        for (const auto member : members) {
            rawValue_ |= member.rawValue_;
        }
    }

    constexpr std::uint64_t rawValue() const { return rawValue_; }
    constexpr bool isEmpty() const { return rawValue_ == 0; }
    constexpr bool contains(Modifiers other) const {
        return (rawValue_ & other.rawValue_) == other.rawValue_;
    }

    constexpr Modifiers operator|(Modifiers other) const {
        return Modifiers{rawValue_ | other.rawValue_};
    }
    constexpr Modifiers operator&(Modifiers other) const {
        return Modifiers{rawValue_ & other.rawValue_};
    }
    constexpr Modifiers operator^(Modifiers other) const {
        return Modifiers{rawValue_ ^ other.rawValue_};
    }
    constexpr Modifiers subtracting(Modifiers other) const {
        return Modifiers{rawValue_ & ~other.rawValue_};
    }
    constexpr Modifiers& operator|=(Modifiers other) { return *this = *this | other; }
    constexpr Modifiers& operator&=(Modifiers other) { return *this = *this & other; }
    constexpr Modifiers& operator^=(Modifiers other) { return *this = *this ^ other; }
    constexpr void insert(Modifiers other) { *this |= other; }
    constexpr void remove(Modifiers other) { *this = subtracting(other); }

    /// The Carbon hot-key modifier mask (cmdKey, shiftKey, optionKey, controlKey); 0 when empty.
    std::uint32_t carbonFlags() const;
    /// The held modifiers' symbols in the order ⌃⌥⇧⌘, without separator.
    std::string symbols() const;

    constexpr bool operator==(const Modifiers&) const = default;

  private:
    std::uint64_t rawValue_ = 0;
};

inline constexpr Modifiers Modifiers::shift{0x20000};
inline constexpr Modifiers Modifiers::control{0x40000};
inline constexpr Modifiers Modifiers::option{0x80000};
inline constexpr Modifiers Modifiers::command{0x100000};
inline constexpr Modifiers Modifiers::all{kMask};

/// A keyboard shortcut: a key position (a macOS virtual key code, independent of the keyboard
/// layout, as settings files and Divvy archives store it) and the modifiers held with it. Any
/// pair is a value; whether it may be a global shortcut is asked of `globalRegistrationProblem`.
struct KeyCombo {
    /// Why a combination may not be registered as a global shortcut.
    enum class Problem { noModifier, shiftOnly, reservedKey };

    using KeyNames = std::map<std::uint16_t, std::string>;

    std::uint16_t keyCode = 0;
    Modifiers modifiers;

    /// None when the combination may be a global shortcut. F1–F20 may go without modifiers or
    /// with Shift alone; every other key needs control, option or command.
    std::optional<Problem> globalRegistrationProblem() const;
    /// The modifiers' symbols followed by the key's US-ANSI label, or "Key " and the code.
    std::string fallbackDescription() const;

    /// The modifier keys themselves, which can never be a shortcut.
    static const std::array<std::uint16_t, 10>& reservedKeyCodes();
    /// F1 … F20, in that order.
    static const std::array<std::uint16_t, 20>& functionKeyCodes();
    /// Labels of keys whose name is not a character: arrows, editing keys, F-keys, keypad digits.
    static const KeyNames& specialKeyNames();
    /// Labels of the US-ANSI key positions, with every special key name merged in.
    static const KeyNames& ansiNames();

    bool operator==(const KeyCombo&) const = default;
};

/// The sentence shown as the status of a shortcut that was not registered for this reason.
std::string_view description(KeyCombo::Problem problem);

}  // namespace tilewise

TILEWISE_DECLARE_HASH(tilewise::Modifiers);
TILEWISE_DECLARE_HASH(tilewise::KeyCombo);

#include "core/KeyCombo.h"

#include <algorithm>
#include <utility>

namespace tilewise {
namespace {

// Carbon's modifier masks (Events.h) for RegisterEventHotKey and the symbolic hot keys.
constexpr std::uint32_t kCarbonCommand = 0x100;
constexpr std::uint32_t kCarbonShift = 0x200;
constexpr std::uint32_t kCarbonOption = 0x800;
constexpr std::uint32_t kCarbonControl = 0x1000;

constexpr std::array<std::uint16_t, 10> kKeypadDigitCodes{82, 83, 84, 85, 86, 87, 88, 89, 91, 92};

bool isListed(const auto& codes, std::uint16_t keyCode) {
    return std::ranges::find(codes, keyCode) != codes.end();
}

KeyCombo::KeyNames makeSpecialKeyNames() {
    KeyCombo::KeyNames names{
        {36, "↩"},  {48, "⇥"},  {49, "Space"}, {51, "⌫"},  {53, "⎋"},  {117, "⌦"}, {116, "⇞"},
        {123, "←"}, {124, "→"}, {125, "↓"},    {126, "↑"}, {115, "↖"}, {119, "↘"}, {121, "⇟"},
    };
    const auto& functionKeys = KeyCombo::functionKeyCodes();
    for (std::size_t i = 0; i < functionKeys.size(); ++i) {
        names.emplace(functionKeys[i], "F" + std::to_string(i + 1));
    }
    for (std::size_t digit = 0; digit < kKeypadDigitCodes.size(); ++digit) {
        names.emplace(kKeypadDigitCodes[digit], "Keypad " + std::to_string(digit));
    }
    return names;
}

// Consecutive key codes starting at `first`, labelled by the characters of `labels` in order.
void addRun(KeyCombo::KeyNames& names, std::uint16_t first, std::string_view labels) {
    for (std::size_t i = 0; i < labels.size(); ++i) {
        names.emplace(static_cast<std::uint16_t>(first + i), std::string(1, labels[i]));
    }
}

KeyCombo::KeyNames makeAnsiNames() {
    KeyCombo::KeyNames names;
    addRun(names, 0, "ASDFHGZXCV");
    addRun(names, 11, "BQWERYT");
    addRun(names, 18, "123465=97-80");
    addRun(names, 30, "]OU[IP");
    addRun(names, 37, "LJ'K;\\,/NM.");
    addRun(names, 50, "`");
    names.insert(KeyCombo::specialKeyNames().begin(), KeyCombo::specialKeyNames().end());
    return names;
}

}  // namespace

std::uint32_t Modifiers::carbonFlags() const {
    std::uint32_t flags = 0;
    if (contains(command))
        flags |= kCarbonCommand;
    if (contains(shift))
        flags |= kCarbonShift;
    if (contains(option))
        flags |= kCarbonOption;
    if (contains(control))
        flags |= kCarbonControl;
    return flags;
}

std::string Modifiers::symbols() const {
    static constexpr std::array<std::pair<Modifiers, std::string_view>, 4> kSymbols{{
        {control, "⌃"},
        {option, "⌥"},
        {shift, "⇧"},
        {command, "⌘"},
    }};
    std::string text;
    for (const auto& [member, symbol] : kSymbols) {
        if (contains(member))
            text += symbol;
    }
    return text;
}

std::optional<KeyCombo::Problem> KeyCombo::globalRegistrationProblem() const {
    if (isListed(reservedKeyCodes(), keyCode))
        return Problem::reservedKey;
    const bool isFunctionKey = isListed(functionKeyCodes(), keyCode);
    if (modifiers == Modifiers::shift)
        return isFunctionKey ? std::nullopt : std::optional{Problem::shiftOnly};
    if (modifiers.isEmpty())
        return isFunctionKey ? std::nullopt : std::optional{Problem::noModifier};
    return std::nullopt;
}

std::string KeyCombo::fallbackDescription() const {
    const auto& names = ansiNames();
    const auto found = names.find(keyCode);
    const std::string key = found != names.end() ? found->second : "Key " + std::to_string(keyCode);
    return modifiers.symbols() + key;
}

const std::array<std::uint16_t, 10>& KeyCombo::reservedKeyCodes() {
    static constexpr std::array<std::uint16_t, 10> kCodes{57, 55, 54, 56, 60, 58, 61, 59, 62, 63};
    return kCodes;
}

const std::array<std::uint16_t, 20>& KeyCombo::functionKeyCodes() {
    static constexpr std::array<std::uint16_t, 20> kCodes{
        122, 120, 99, 118, 96, 97, 98, 100, 101, 109, 103, 111, 105, 107, 113, 106, 64, 79, 80, 90,
    };
    return kCodes;
}

const KeyCombo::KeyNames& KeyCombo::specialKeyNames() {
    static const KeyNames names = makeSpecialKeyNames();
    return names;
}

const KeyCombo::KeyNames& KeyCombo::ansiNames() {
    static const KeyNames names = makeAnsiNames();
    return names;
}

std::string_view description(KeyCombo::Problem problem) {
    switch (problem) {
        case KeyCombo::Problem::noModifier:
            return "Global shortcuts need a modifier key";
        case KeyCombo::Problem::shiftOnly:
            return "Global shortcuts need a modifier other than Shift";
        case KeyCombo::Problem::reservedKey:
            return "This key can't be a shortcut";
    }
    return {};
}

}  // namespace tilewise

std::size_t std::hash<tilewise::Modifiers>::operator()(
    const tilewise::Modifiers& v) const noexcept {
    return tilewise::hashFields(v.rawValue());
}
std::size_t std::hash<tilewise::KeyCombo>::operator()(const tilewise::KeyCombo& v) const noexcept {
    return tilewise::hashFields(v.keyCode, v.modifiers.rawValue());
}

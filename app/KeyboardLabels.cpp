#include "app/KeyboardLabels.h"

#include "core/KeyCombo.h"
#include "core/Utf8.h"

namespace tilewise::KeyboardLabels {
namespace {

std::string translated(std::uint16_t keyCode, KeyboardLayout& layout) {
    const auto translation = layout.translate(keyCode);
    if (!translation || translation->status != noErr || translation->characters.empty()) {
        return {};
    }
    // Upper case by Unicode rules, so "é" on a French layout is labelled "É".
    return Utf8::upperCased(translation->characters);
}

}  // namespace

std::string keyName(std::uint16_t keyCode, KeyboardLayout& layout) {
    const auto& special = KeyCombo::specialKeyNames();
    if (const auto name = special.find(keyCode); name != special.end()) {
        return name->second;
    }
    if (auto label = translated(keyCode, layout); !label.empty()) {
        return label;
    }
    const auto& ansi = KeyCombo::ansiNames();
    if (const auto name = ansi.find(keyCode); name != ansi.end()) {
        return name->second;
    }
    return "Key " + std::to_string(keyCode);
}

std::string shortcutName(const KeyCombo& combo, KeyboardLayout& layout) {
    return combo.modifiers.symbols() + keyName(combo.keyCode, layout);
}

}  // namespace tilewise::KeyboardLabels

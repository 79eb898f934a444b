#include "core/Utf8.h"

#include <utf8proc.h>

namespace tilewise::Utf8 {

std::optional<std::string> repaired(std::string_view text) {
    std::string result;
    bool changed = false;
    std::size_t offset = 0;
    while (offset < text.size()) {
        utf8proc_int32_t codePoint = 0;
        const auto length =
            utf8proc_iterate(reinterpret_cast<const utf8proc_uint8_t*>(text.data() + offset),
                             static_cast<utf8proc_ssize_t>(text.size() - offset), &codePoint);
        if (length > 0) {
            result.append(text.substr(offset, static_cast<std::size_t>(length)));
            offset += static_cast<std::size_t>(length);
        } else {
            result.append(kReplacementCharacter);
            changed = true;
            ++offset;
        }
    }
    return changed ? std::optional{std::move(result)} : std::nullopt;
}

std::string upperCased(std::u16string_view text) {
    constexpr utf8proc_int32_t kReplacement = 0xFFFD;
    const auto isHigh = [](char16_t unit) { return unit >= 0xD800 && unit < 0xDC00; };
    const auto isLow = [](char16_t unit) { return unit >= 0xDC00 && unit < 0xE000; };
    std::string result;
    for (std::size_t index = 0; index < text.size(); ++index) {
        utf8proc_int32_t codePoint = text[index];
        if (isHigh(text[index]) && index + 1 < text.size() && isLow(text[index + 1])) {
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (text[++index] - 0xDC00);
        } else if (isHigh(text[index]) || isLow(text[index])) {
            codePoint = kReplacement;
        }
        utf8proc_uint8_t encoded[4];
        const auto length = utf8proc_encode_char(utf8proc_toupper(codePoint), encoded);
        result.append(reinterpret_cast<const char*>(encoded), static_cast<std::size_t>(length));
    }
    return result;
}

}  // namespace tilewise::Utf8

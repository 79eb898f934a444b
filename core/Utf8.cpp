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

}  // namespace tilewise::Utf8

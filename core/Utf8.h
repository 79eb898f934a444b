#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tilewise::Utf8 {

/// The replacement character U+FFFD, as UTF-8.
inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

/// `text` with each byte that is not part of a valid UTF-8 sequence replaced by U+FFFD; none
/// when the text is valid UTF-8 already.
std::optional<std::string> repaired(std::string_view text);

/// UTF-16 `text` in upper case by Unicode's one-to-one mappings ("é" becomes "É"), as UTF-8;
/// an unpaired surrogate becomes U+FFFD.
std::string upperCased(std::u16string_view text);

}  // namespace tilewise::Utf8

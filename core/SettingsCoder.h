#pragma once

#include <cstddef>
#include <expected>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/Settings.h"

namespace tilewise {

/// Why a settings file was refused.
struct SettingsCodingError {
    /// The bytes are not JSON or do not form a document; holds the parser's or reader's text.
    struct Unreadable {
        std::string message;
        bool operator==(const Unreadable&) const = default;
    };
    /// The document was read but has fatal issues (and only those), in validation order.
    struct Invalid {
        std::vector<SettingsIssue> issues;
        bool operator==(const Invalid&) const = default;
    };

    std::variant<Unreadable, Invalid> value;

    /// "The settings file could not be read: …", or the issues' sentences one per line.
    std::string description() const;

    bool operator==(const SettingsCodingError&) const = default;
};

/// Why a document could not be written, e.g. a margin that is not a finite number.
struct SettingsEncodingError {
    std::string reason;

    std::string description() const { return reason; }

    bool operator==(const SettingsEncodingError&) const = default;
};

/// The settings file format: versioned JSON, pretty-printed with sorted keys. Reading is
/// tolerant of missing top-level keys so that older and hand-edited files still load.
namespace SettingsCoder {

/// The largest settings file, in bytes, that is read or written: what the coder writes, it
/// reads back.
inline constexpr std::size_t kMaximumDocumentSize = 16 * 1024 * 1024;
/// Arrays and objects nested in one another; a settings document needs four levels.
inline constexpr std::size_t kMaximumNesting = 64;

/// The document as JSON text, unchanged and unvalidated; pretty-printed unless only the compact
/// form fits within kMaximumDocumentSize, an error when neither does.
std::expected<std::string, SettingsEncodingError> encode(const TilewiseSettings& settings);

/// The whole document or an error, never part of one; never throws, whatever the bytes. More
/// than kMaximumDocumentSize bytes, nesting deeper than kMaximumNesting and anything after the
/// document (a NUL byte included) are errors.
std::expected<TilewiseSettings, SettingsCodingError> decode(std::string_view bytes);

}  // namespace SettingsCoder

}  // namespace tilewise

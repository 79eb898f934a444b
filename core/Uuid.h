#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/Hashing.h"

namespace tilewise {

/// A 128-bit universally unique identifier.
class Uuid {
  public:
    using Bytes = std::array<std::uint8_t, 16>;

    /// The nil identifier (all zero).
    constexpr Uuid() = default;
    constexpr explicit Uuid(const Bytes& bytes) : bytes_(bytes) {}

    /// A new random (version 4) identifier.
    static Uuid random();
    /// Parses the 8-4-4-4-12 hexadecimal form in either case; absent for anything else.
    static std::optional<Uuid> parse(std::string_view text);

    /// The 8-4-4-4-12 form in upper case.
    std::string string() const;
    const Bytes& bytes() const { return bytes_; }

    bool operator==(const Uuid&) const = default;
    auto operator<=>(const Uuid&) const = default;

  private:
    Bytes bytes_{};
};

}  // namespace tilewise

TILEWISE_DECLARE_HASH(tilewise::Uuid);

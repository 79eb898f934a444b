#include "core/Uuid.h"

#include <random>

namespace tilewise {
namespace {

constexpr std::size_t kTextLength = 36;

bool isDashPosition(std::size_t i) {
    return i == 8 || i == 13 || i == 18 || i == 23;
}

std::optional<std::uint8_t> hexValue(char c) {
    if (c >= '0' && c <= '9')
        return static_cast<std::uint8_t>(c - '0');
    if (c >= 'a' && c <= 'f')
        return static_cast<std::uint8_t>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F')
        return static_cast<std::uint8_t>(c - 'A' + 10);
    return std::nullopt;
}

}  // namespace

Uuid Uuid::random() {
    thread_local std::mt19937_64 engine{[] {
        std::random_device device;
        std::seed_seq seeds{device(), device(), device(), device(), device(), device()};
        return std::mt19937_64{seeds};
    }()};
    Bytes bytes;
    for (std::size_t i = 0; i < bytes.size(); i += 8) {
        const std::uint64_t word = engine();
        for (std::size_t b = 0; b < 8; ++b) {
            bytes[i + b] = static_cast<std::uint8_t>(word >> (8 * b));
        }
    }
    bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
    return Uuid{bytes};
}

std::optional<Uuid> Uuid::parse(std::string_view text) {
    if (text.size() != kTextLength) {
        return std::nullopt;
    }
    Bytes bytes{};
    std::size_t nibble = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isDashPosition(i)) {
            if (text[i] != '-')
                return std::nullopt;
            continue;
        }
        const auto value = hexValue(text[i]);
        if (!value)
            return std::nullopt;
        bytes[nibble / 2] =
            static_cast<std::uint8_t>(bytes[nibble / 2] | (*value << (nibble % 2 == 0 ? 4 : 0)));
        ++nibble;
    }
    return Uuid{bytes};
}

std::string Uuid::string() const {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(kTextLength);
    for (std::size_t i = 0; i < bytes_.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            text.push_back('-');
        text.push_back(kDigits[bytes_[i] >> 4]);
        text.push_back(kDigits[bytes_[i] & 0x0F]);
    }
    return text;
}

}  // namespace tilewise

std::size_t std::hash<tilewise::Uuid>::operator()(const tilewise::Uuid& v) const noexcept {
    std::size_t seed = 0;
    for (auto byte : v.bytes()) {
        seed = tilewise::hashFields(seed, byte);
    }
    return seed;
}

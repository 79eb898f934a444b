#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/SettingsCoder.h"

// Any bytes give a document or an error; a document must save and load back unchanged.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes{reinterpret_cast<const char*>(data), size};
    const auto decoded = tilewise::SettingsCoder::decode(bytes);
    if (!decoded)
        return 0;
    const auto encoded = tilewise::SettingsCoder::encode(*decoded);
    if (!encoded || tilewise::SettingsCoder::decode(*encoded) != decoded)
        std::abort();
    return 0;
}

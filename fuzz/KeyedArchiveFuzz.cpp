#include <cstddef>
#include <cstdint>
#include <span>

#include "core/KeyedArchive.h"

// Opens the input as a keyed archive and walks whatever root array it holds, so that every
// reference and value accessor meets hostile data.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto archive = tilewise::KeyedArchive::open(std::span{data, size});
    if (!archive)
        return 0;
    const auto root = archive->root();
    if (!root || *root == nullptr)
        return 0;
    const auto elements = archive->arrayElements(**root);
    if (!elements)
        return 0;
    for (const auto* element : *elements) {
        (void)archive->className(*element);
        (void)archive->integer(*element, "sizeColumns");
        (void)archive->boolean(*element, "enabled");
        (void)archive->string(*element, "nameKey");
    }
    return 0;
}

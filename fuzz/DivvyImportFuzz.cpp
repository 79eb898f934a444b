#include <cstddef>
#include <cstdint>
#include <span>

#include "core/DivvyImport.h"

// Any input must end in layouts or an import error; the sanitizers catch everything else.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)tilewise::DivvyImport::layouts(std::span{data, size});
    return 0;
}

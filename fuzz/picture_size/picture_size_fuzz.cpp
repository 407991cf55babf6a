// Picture headers on arbitrary bytes: a size is found or not, never a read
// past the bytes, never a size of 0.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "svgimport/picture_size.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exact-size heap copy, so that a read past the end is caught.
    auto* copy = static_cast<char*>(std::malloc(size ? size : 1));
    if (size) __builtin_memcpy(copy, data, size);
    const auto found = SVG::PictureSizeOf(std::string_view(copy, size));
    if (found && (found->width == 0 || found->height == 0)) std::abort();
    std::free(copy);
    return 0;
}

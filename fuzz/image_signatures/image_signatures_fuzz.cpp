// Format detection on arbitrary first bytes: every rule stays inside the
// bytes it is given, and a format found by signature is one the reader
// knows a module for.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "imageload/filter_image_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exact-size heap copy, so that a read past the end is caught.
    auto* copy = static_cast<std::uint8_t*>(std::malloc(size ? size : 1));
    if (size) __builtin_memcpy(copy, data, size);
    const std::span<const std::uint8_t> bytes(copy, size);
    const std::uint32_t format = imageload::DetectFormatBySignature(bytes);
    if (format != 0 && !imageload::ModuleFileForFormat(format)) std::abort();
    for (const char* name : {"a.gif", "a.JPG", "a.vrm", "a.bmp", "a.wi", "a"}) {
        bool corrupt = false;
        const std::uint32_t byName = imageload::DetectFormatByExtension(name, bytes, &corrupt);
        if (byName != 0 && !imageload::SignatureHolds(byName, bytes)) std::abort();
    }
    if (imageload::CountGifImages(bytes) < 0) std::abort();
    std::free(copy);
    return 0;
}

// What the three decoder modules share: answering the reader's header and
// pixel calls from a picture decoded by the shared image decoders.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "imagecodecs/decoded_image.h"
#include "imageload/filter_context.h"

#define DECODER_MODULE_EXPORT extern "C" __attribute__((visibility("default")))

namespace decoder_module {

using DecodeFn = std::string (*)(std::span<const std::uint8_t>, const imagecodecs::DecodeRequest&,
                                 imagecodecs::DecodedImage&);

// Code 3 fills the frame's header (size, depth, resolution, palette, frame
// count); code 1 delivers its rows, bottom row first, through the context's
// row callback. Non-zero on success.
std::int32_t Run(DecodeFn decode, std::int32_t code, imageload::FilterContext* context);

}  // namespace decoder_module

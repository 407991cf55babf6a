// The GIF decoder module.
#include "decoder_module.h"

DECODER_MODULE_EXPORT std::int32_t FilterEntry(std::int32_t code, imageload::FilterContext* context) {
    return decoder_module::Run(imagecodecs::DecodeGif, code, context);
}

// The animated-GIF entry: frame n of the file, as the plain entry reads it.
DECODER_MODULE_EXPORT std::int32_t FilterEntry01(std::int32_t code, imageload::FilterContext* context) {
    return decoder_module::Run(imagecodecs::DecodeGif, code, context);
}

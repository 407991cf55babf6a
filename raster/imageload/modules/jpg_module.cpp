// The JPEG decoder module.
#include "decoder_module.h"

DECODER_MODULE_EXPORT std::int32_t FilterEntry(std::int32_t code, imageload::FilterContext* context) {
    return decoder_module::Run(imagecodecs::DecodeJpeg, code, context);
}

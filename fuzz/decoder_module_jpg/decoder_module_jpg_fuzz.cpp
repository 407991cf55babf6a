// The JPEG decoder module's header and pixel calls on arbitrary files.
#include "decoder_module_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzzsupport::RunDecoderModule(imagecodecs::DecodeJpeg, data, size);
}

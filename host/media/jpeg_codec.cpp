// JPEG files written through libjpeg(-turbo) (the shared imagecodecs library
// reads them). Its fatal errors leave through error_exit, which jumps back to
// a setjmp in a function with only trivial locals; the encoder state lives
// with the caller, which destroys it on every path.
#include <csetjmp>
#include <cstdio>
#include <string>

// jpeglib.h expects size_t and FILE to be declared before it.
#include <jerror.h>
#include <jpeglib.h>

#include "codecs.h"
#include "imagecodecs/codec_errors.h"

namespace host::media::detail {
namespace {

struct WriteState {
    std::FILE* file = nullptr;
    jpeg_compress_struct info{};
    imagecodecs::JpegErrors errors{};
    bool created = false;
};

bool WriteJpeg(WriteState& state, const PixelRows& rows, uint32_t dotsPerInch, int quality) {
    state.info.err = &state.errors.base;
    if (setjmp(state.errors.jump)) return false;
    jpeg_create_compress(&state.info);
    state.created = true;
    jpeg_stdio_dest(&state.info, state.file);
    state.info.image_width = rows.width;
    state.info.image_height = rows.height;
    switch (rows.kind) {
        case PixelRows::Kind::kGrey:
            state.info.input_components = 1;
            state.info.in_color_space = JCS_GRAYSCALE;
            break;
        case PixelRows::Kind::kCmyk:
            state.info.input_components = 4;
            state.info.in_color_space = JCS_CMYK;
            break;
        default:
            state.info.input_components = 3;
            state.info.in_color_space = JCS_RGB;
            break;
    }
    jpeg_set_defaults(&state.info);
    jpeg_set_quality(&state.info, quality, TRUE);
    if (dotsPerInch) {
        state.info.density_unit = 1;
        state.info.X_density = state.info.Y_density = static_cast<UINT16>(dotsPerInch);
    }
    jpeg_start_compress(&state.info, TRUE);
    while (state.info.next_scanline < rows.height) {
        JSAMPROW row[1] = {const_cast<JSAMPLE*>(rows.row(state.info.next_scanline))};
        jpeg_write_scanlines(&state.info, row, 1);
    }
    jpeg_finish_compress(&state.info);
    return true;
}

}  // namespace

Status EncodeJpeg(std::FILE* file, const PixelRows& rows, uint32_t dotsPerInch, int quality) {
    WriteState state;
    state.file = file;
    imagecodecs::InitJpegErrors(state.errors);
    const bool ok = WriteJpeg(state, rows, dotsPerInch, quality);
    if (state.created) jpeg_destroy_compress(&state.info);
    return ok ? Status{} : Status::Error(std::string("JPEG could not be written: ") + state.errors.message);
}

}  // namespace host::media::detail

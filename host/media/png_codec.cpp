// PNG files written through libpng (the shared imagecodecs library reads
// them). libpng reports errors by longjmp, so the setjmp sits in a function
// whose own locals are all trivial: the state it fills lives in the caller,
// and no C++ object is skipped when libpng jumps back.
#include <png.h>

#include <csetjmp>
#include <string>

#include "codecs.h"
#include "imagecodecs/codec_errors.h"

namespace host::media::detail {
namespace {

struct PngState {
    imagecodecs::PngErrors errors;
    std::FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
};

bool WritePng(PngState& state, const PixelRows& rows, uint32_t dotsPerInch) {
    if (setjmp(png_jmpbuf(state.png))) return false;
    png_init_io(state.png, state.file);
    int colourType = PNG_COLOR_TYPE_RGB;
    switch (rows.kind) {
        case PixelRows::Kind::kRgba:
            colourType = PNG_COLOR_TYPE_RGB_ALPHA;
            break;
        case PixelRows::Kind::kGrey:
            colourType = PNG_COLOR_TYPE_GRAY;
            break;
        case PixelRows::Kind::kIndexed:
            colourType = PNG_COLOR_TYPE_PALETTE;
            break;
        default:
            break;
    }
    png_set_IHDR(state.png, state.info, rows.width, rows.height, static_cast<int>(rows.bits), colourType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color colours[256];
    if (rows.kind == PixelRows::Kind::kIndexed) {
        for (size_t i = 0; i < rows.palette.size() && i < 256; ++i) {
            colours[i] = {rows.palette[i].r, rows.palette[i].g, rows.palette[i].b};
        }
        png_set_PLTE(state.png, state.info, colours, static_cast<int>(rows.palette.size()));
    }
    if (dotsPerInch) {
        const auto perMetre = static_cast<png_uint_32>(dotsPerInch / 0.0254 + 0.5);
        png_set_pHYs(state.png, state.info, perMetre, perMetre, PNG_RESOLUTION_METER);
    }
    png_write_info(state.png, state.info);
    for (uint32_t y = 0; y < rows.height; ++y) png_write_row(state.png, rows.row(y));
    png_write_end(state.png, nullptr);
    return true;
}

Status Failure(const char* what, const PngState& state) {
    return Status::Error(std::string(what) + ": " + state.errors.message);
}

}  // namespace

Status EncodePng(std::FILE* file, const PixelRows& rows, uint32_t dotsPerInch) {
    PngState state;
    state.file = file;
    state.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state.errors, imagecodecs::PngOnError,
                                        imagecodecs::PngOnWarning);
    if (state.png) state.info = png_create_info_struct(state.png);
    if (!state.info) {
        png_destroy_write_struct(&state.png, nullptr);
        return Status::Error("PNG: no memory for the encoder");
    }
    const bool ok = WritePng(state, rows, dotsPerInch);
    png_destroy_write_struct(&state.png, &state.info);
    return ok ? Status{} : Failure("PNG could not be written", state);
}

}  // namespace host::media::detail

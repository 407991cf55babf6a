// PNG through libpng. libpng reports errors by longjmp, so each setjmp sits
// in a function whose own locals are all trivial: the state it fills lives in
// the caller, and no C++ object is skipped when libpng jumps back.
#include <png.h>

#include <csetjmp>
#include <string>

#include "codecs.h"

namespace host::media::detail {
namespace {

struct PngState {
    std::FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    char message[200] = "";
    std::vector<png_bytep> rows;
};

void OnError(png_structp png, png_const_charp message) {
    auto* state = static_cast<PngState*>(png_get_error_ptr(png));
    std::snprintf(state->message, sizeof state->message, "%s", message ? message : "unknown error");
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

uint32_t SourceTypeOf(int colourType, int bitDepth, bool transparency) {
    switch (colourType) {
        case PNG_COLOR_TYPE_PALETTE:
            return svgf::kSourcePaletted;
        case PNG_COLOR_TYPE_GRAY:
            if (transparency) return svgf::kSourceRgba;
            return bitDepth == 1  ? svgf::kSourceBilevel
                   : bitDepth < 8 ? svgf::kSourceGrey4
                                  : svgf::kSourceGrey;
        case PNG_COLOR_TYPE_RGB:
            return transparency ? svgf::kSourceRgba : svgf::kSourceRgb;
        default:  // grey or colour with alpha
            return svgf::kSourceRgba;
    }
}

// Reads the whole file into out; false with state.message on failure.
bool ReadPng(PngState& state, Image& out) {
    if (setjmp(png_jmpbuf(state.png))) return false;
    png_init_io(state.png, state.file);
    png_set_user_limits(state.png, kMaxImageSide, kMaxImageSide);
    png_read_info(state.png, state.info);

    const png_uint_32 width = png_get_image_width(state.png, state.info);
    const png_uint_32 height = png_get_image_height(state.png, state.info);
    const int colourType = png_get_color_type(state.png, state.info);
    const int bitDepth = png_get_bit_depth(state.png, state.info);
    const bool transparency = png_get_valid(state.png, state.info, PNG_INFO_tRNS) != 0;
    if (!ImageSizeAllowed(width, height)) {
        std::snprintf(state.message, sizeof state.message,
                      "image size %u x %u is outside the supported range", unsigned(width), unsigned(height));
        return false;
    }
    if (!Image::Allocate(width, height, out)) {
        std::snprintf(state.message, sizeof state.message, "no memory for the image");
        return false;
    }
    out.sourceType = SourceTypeOf(colourType, bitDepth, transparency);
    png_colorp colours = nullptr;
    int count = 0;
    if (colourType == PNG_COLOR_TYPE_PALETTE && png_get_PLTE(state.png, state.info, &colours, &count)) {
        out.palette.resize(count);
        for (int i = 0; i < count; ++i) out.palette[i] = {colours[i].red, colours[i].green, colours[i].blue};
    }

    // Whatever the file holds arrives as 8-bit RGBA.
    png_set_expand(state.png);
    png_set_strip_16(state.png);
    png_set_gray_to_rgb(state.png);
    png_set_add_alpha(state.png, 0xff, PNG_FILLER_AFTER);
    png_set_interlace_handling(state.png);
    png_read_update_info(state.png, state.info);
    if (png_get_rowbytes(state.png, state.info) != out.stride()) {
        std::snprintf(state.message, sizeof state.message, "unexpected row layout");
        return false;
    }
    state.rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) state.rows[y] = out.pixel(0, y);
    png_read_image(state.png, state.rows.data());
    png_read_end(state.png, nullptr);
    return true;
}

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
    return Status::Error(std::string(what) + ": " + state.message);
}

}  // namespace

Status DecodePng(std::FILE* file, Image& out) {
    PngState state;
    state.file = file;
    state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, OnError, OnWarning);
    if (state.png) state.info = png_create_info_struct(state.png);
    if (!state.info) {
        png_destroy_read_struct(&state.png, nullptr, nullptr);
        return Status::Error("PNG: no memory for the decoder");
    }
    const bool ok = ReadPng(state, out);
    png_destroy_read_struct(&state.png, &state.info, nullptr);
    if (!ok) {
        out = Image{};
        return Failure("PNG data is not readable", state);
    }
    return {};
}

Status EncodePng(std::FILE* file, const PixelRows& rows, uint32_t dotsPerInch) {
    PngState state;
    state.file = file;
    state.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, OnError, OnWarning);
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

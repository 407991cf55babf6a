// PNG through libpng, from bytes in memory. libpng reports errors by
// longjmp, so the setjmp sits in a function whose own locals are all
// trivial: the state it fills lives in the caller, and no C++ object is
// skipped when libpng jumps back.
#include <cstring>

#include "imagecodecs/codec_errors.h"
#include "imagecodecs/decoded_image.h"

namespace imagecodecs {
namespace {

struct PngState {
    PngErrors errors;
    std::span<const std::uint8_t> bytes;
    std::size_t position = 0;
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<png_bytep> rows;
    std::vector<std::uint8_t> row;
};

void ReadBytes(png_structp png, png_bytep into, png_size_t length) {
    auto* state = static_cast<PngState*>(png_get_io_ptr(png));
    if (length > state->bytes.size() - state->position) png_error(png, "the file ends early");
    std::memcpy(into, state->bytes.data() + state->position, length);
    state->position += length;
}

SourceColour SourceOf(int colourType) {
    switch (colourType) {
        case PNG_COLOR_TYPE_PALETTE:
            return SourceColour::kPalette;
        case PNG_COLOR_TYPE_GRAY:
            return SourceColour::kGrey;
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            return SourceColour::kGreyAlpha;
        case PNG_COLOR_TYPE_RGB_ALPHA:
            return SourceColour::kRgbAlpha;
        default:
            return SourceColour::kRgb;
    }
}

// Reads the header, chooses the layout and, unless only the header is asked
// for, the pixels; false with state.message on failure.
bool ReadPng(PngState& state, const DecodeRequest& request, DecodedImage& out) {
    if (setjmp(png_jmpbuf(state.png))) return false;
    png_set_read_fn(state.png, &state, ReadBytes);
    // The pixel count is the limit, not the sides (libpng's own default
    // stops at a million pixels a side).
    png_set_user_limits(state.png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_read_info(state.png, state.info);

    const png_uint_32 width = png_get_image_width(state.png, state.info);
    const png_uint_32 height = png_get_image_height(state.png, state.info);
    const int colourType = png_get_color_type(state.png, state.info);
    if (const std::string refused = SizeRefusal(width, height); !refused.empty()) {
        std::snprintf(state.errors.message, sizeof state.errors.message, "%s", refused.c_str());
        return false;
    }
    out.width = width;
    out.height = height;
    out.source = SourceOf(colourType);
    out.sourceBits = static_cast<std::uint32_t>(png_get_bit_depth(state.png, state.info));
    out.sourceTransparency = png_get_valid(state.png, state.info, PNG_INFO_tRNS) != 0;
    png_uint_32 xRes = 0, yRes = 0;
    int unit = 0;
    if (png_get_pHYs(state.png, state.info, &xRes, &yRes, &unit) && unit == PNG_RESOLUTION_METER) {
        out.xPixelsPerMetre = xRes;
        out.yPixelsPerMetre = yRes;
    }

    // Palettes and opaque grey and RGB keep their layout, one byte a sample;
    // anything with alpha or a transparent colour becomes RGBA.
    png_set_strip_16(state.png);
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        out.layout = Layout::kIndexed;
        png_colorp colours = nullptr;
        int count = 0;
        if (png_get_PLTE(state.png, state.info, &colours, &count)) {
            for (int i = 0; i < count; ++i) out.palette.push_back({colours[i].red, colours[i].green, colours[i].blue});
        }
        png_bytep alpha = nullptr;
        int alphaCount = 0;
        if (png_get_tRNS(state.png, state.info, &alpha, &alphaCount, nullptr) && alpha) {
            out.paletteAlpha.assign(out.palette.size(), 255);
            for (int i = 0; i < alphaCount && i < count; ++i) out.paletteAlpha[i] = alpha[i];
        }
        png_set_packing(state.png);
    } else if (colourType == PNG_COLOR_TYPE_GRAY && !out.sourceTransparency) {
        out.layout = Layout::kGrey;
        png_set_expand_gray_1_2_4_to_8(state.png);
    } else if (colourType == PNG_COLOR_TYPE_RGB && !out.sourceTransparency) {
        out.layout = Layout::kRgb;
    } else {
        out.layout = Layout::kRgba;
        png_set_expand(state.png);
        png_set_gray_to_rgb(state.png);
        png_set_add_alpha(state.png, 0xff, PNG_FILLER_AFTER);
    }
    if (request.headerOnly) return true;

    png_set_interlace_handling(state.png);
    png_read_update_info(state.png, state.info);
    if (png_get_rowbytes(state.png, state.info) != out.Stride()) {
        std::snprintf(state.errors.message, sizeof state.errors.message, "unexpected row layout");
        return false;
    }
    if (request.rowSink && png_get_interlace_type(state.png, state.info) == PNG_INTERLACE_NONE) {
        // One row at a time, straight to the sink.
        state.row.resize(out.Stride());
        for (png_uint_32 y = 0; y < height; ++y) {
            png_read_row(state.png, state.row.data(), nullptr);
            if (!request.rowSink(request.sinkContext, y, state.row.data())) {
                std::snprintf(state.errors.message, sizeof state.errors.message, "the rows were refused");
                return false;
            }
        }
        png_read_end(state.png, nullptr);
        return true;
    }
    out.pixels.assign(out.Stride() * height, 0);
    state.rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) state.rows[y] = out.pixels.data() + y * out.Stride();
    png_read_image(state.png, state.rows.data());
    png_read_end(state.png, nullptr);
    if (!EmitRows(request, out)) {
        std::snprintf(state.errors.message, sizeof state.errors.message, "the rows were refused");
        return false;
    }
    return true;
}

}  // namespace

std::string DecodePng(std::span<const std::uint8_t> bytes, const DecodeRequest& request, DecodedImage& out) {
    out = DecodedImage{};
    PngState state;
    state.bytes = bytes;
    state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state.errors, PngOnError, PngOnWarning);
    if (state.png) state.info = png_create_info_struct(state.png);
    if (!state.info) {
        png_destroy_read_struct(&state.png, nullptr, nullptr);
        return "PNG: no memory for the decoder";
    }
    const bool ok = ReadPng(state, request, out);
    png_destroy_read_struct(&state.png, &state.info, nullptr);
    if (ok) return {};
    out = DecodedImage{};
    return std::string("PNG data is not readable: ") + state.errors.message;
}

}  // namespace imagecodecs

// JPEG through libjpeg(-turbo), from bytes in memory. Its fatal errors leave
// through error_exit, which jumps back to a setjmp in a function with only
// trivial locals; the decoder state lives with the caller, which destroys it
// on every path.
#include <jerror.h>

#include "imagecodecs/codec_errors.h"
#include "imagecodecs/decoded_image.h"

namespace imagecodecs {
namespace {

// Warnings are mostly harmless, but data that ends early, at the end of the
// file or at a marker in the middle of a scan, would come out padded with
// grey: that is a broken file, not a picture. (Decoding on would also spend
// the time of a whole large image on a file of a few bytes.)
void OnMessage(j_common_ptr info, int level) {
    if (level < 0 && (info->err->msg_code == JWRN_JPEG_EOF || info->err->msg_code == JWRN_HIT_MARKER))
        JpegOnError(info);
}

struct ReadState {
    jpeg_decompress_struct info{};
    JpegErrors errors{};
    bool created = false;
    std::vector<std::uint8_t> row;
    std::vector<std::uint8_t> sinkRow;
};

std::uint32_t PerMetre(unsigned density, int unit) {
    if (unit == 1) return static_cast<std::uint32_t>(density / 0.0254 + 0.5);  // per inch
    if (unit == 2) return density * 100u;                                      // per centimetre
    return 0;
}

// CMYK pixels to RGB: a channel is what its ink leaves of white, darkened by
// the black ink. Files with an Adobe marker store the inks inverted (0 =
// full ink).
void CmykRowToRgb(const std::uint8_t* in, std::uint32_t width, bool inverted, std::uint8_t* out) {
    for (std::uint32_t x = 0; x < width; ++x, in += 4, out += 3) {
        const unsigned k = inverted ? in[3] : 255u - in[3];
        for (int c = 0; c < 3; ++c) {
            const unsigned ink = inverted ? in[c] : 255u - in[c];
            out[c] = static_cast<std::uint8_t>((ink * k + 127) / 255);
        }
    }
}

bool ReadJpeg(ReadState& state, std::span<const std::uint8_t> bytes, const DecodeRequest& request,
              DecodedImage& out) {
    state.info.err = &state.errors.base;
    if (setjmp(state.errors.jump)) return false;
    jpeg_create_decompress(&state.info);
    state.created = true;
    jpeg_mem_src(&state.info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&state.info, TRUE);
    // Checked before the decoder sizes its buffers by the header.
    if (const std::string refused = SizeRefusal(state.info.image_width, state.info.image_height);
        !refused.empty()) {
        std::snprintf(state.errors.message, sizeof state.errors.message, "%s", refused.c_str());
        return false;
    }
    bool cmyk = false;
    switch (state.info.jpeg_color_space) {
        case JCS_GRAYSCALE:
            state.info.out_color_space = JCS_GRAYSCALE;
            out.layout = Layout::kGrey;
            out.source = SourceColour::kGrey;
            break;
        case JCS_CMYK:
        case JCS_YCCK:
            state.info.out_color_space = JCS_CMYK;
            out.layout = Layout::kRgb;
            out.source = SourceColour::kCmyk;
            cmyk = true;
            break;
        default:
            state.info.out_color_space = JCS_RGB;
            out.layout = Layout::kRgb;
            out.source = SourceColour::kRgb;
            break;
    }
    out.width = state.info.image_width;
    out.height = state.info.image_height;
    if (state.info.saw_JFIF_marker) {
        out.xPixelsPerMetre = PerMetre(state.info.X_density, state.info.density_unit);
        out.yPixelsPerMetre = PerMetre(state.info.Y_density, state.info.density_unit);
    }
    if (request.headerOnly) return true;

    jpeg_start_decompress(&state.info);
    const JDIMENSION width = state.info.output_width;
    const JDIMENSION height = state.info.output_height;
    const int components = state.info.output_components;
    out.width = width;
    out.height = height;
    // With a sink each row is decoded into one buffer and handed on.
    if (request.rowSink) {
        state.sinkRow.resize(out.Stride());
    } else {
        out.pixels.assign(out.Stride() * height, 0);
    }
    const bool inverted = cmyk && state.info.saw_Adobe_marker;
    state.row.resize(std::size_t{width} * components);
    JSAMPROW rows[1] = {state.row.data()};
    while (state.info.output_scanline < height) {
        const JDIMENSION y = state.info.output_scanline;
        std::uint8_t* target = request.rowSink ? state.sinkRow.data() : out.pixels.data() + y * out.Stride();
        if (cmyk) {
            jpeg_read_scanlines(&state.info, rows, 1);
            CmykRowToRgb(state.row.data(), width, inverted, target);
        } else {
            JSAMPROW direct[1] = {target};
            jpeg_read_scanlines(&state.info, direct, 1);
        }
        if (request.rowSink && !request.rowSink(request.sinkContext, y, target)) {
            std::snprintf(state.errors.message, sizeof state.errors.message, "the rows were refused");
            return false;
        }
    }
    jpeg_finish_decompress(&state.info);
    return true;
}

}  // namespace

std::string DecodeJpeg(std::span<const std::uint8_t> bytes, const DecodeRequest& request, DecodedImage& out) {
    out = DecodedImage{};
    ReadState state;
    InitJpegErrors(state.errors);
    state.errors.base.emit_message = OnMessage;
    const bool ok = ReadJpeg(state, bytes, request, out);
    if (state.created) jpeg_destroy_decompress(&state.info);
    if (ok) return {};
    out = DecodedImage{};
    return std::string("JPEG data is not readable: ") + state.errors.message;
}

}  // namespace imagecodecs

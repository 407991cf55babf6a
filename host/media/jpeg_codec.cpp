// JPEG through libjpeg(-turbo). Its fatal errors leave through error_exit,
// which jumps back to a setjmp in a function with only trivial locals; the
// decoder state lives with the caller, which destroys it on every path.
#include <csetjmp>
#include <cstdio>
#include <string>

// jpeglib.h expects size_t and FILE to be declared before it.
#include <jerror.h>
#include <jpeglib.h>

#include "codecs.h"

namespace host::media::detail {
namespace {

struct ErrorManager {
    jpeg_error_mgr base;  // first, so that the library's pointer is ours too
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnError(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// Warnings are mostly harmless, but data that ends early, at the end of the
// file or at a marker in the middle of a scan, would come out padded with
// grey: that is a broken file, not a picture. (Decoding on would also spend
// the time of a whole large image on a file of a few bytes.)
void OnMessage(j_common_ptr info, int level) {
    if (level < 0 && (info->err->msg_code == JWRN_JPEG_EOF || info->err->msg_code == JWRN_HIT_MARKER))
        OnError(info);
}

void InitErrors(ErrorManager& errors) {
    jpeg_std_error(&errors.base);
    errors.base.error_exit = OnError;
    errors.base.emit_message = OnMessage;
    errors.message[0] = '\0';
}

struct ReadState {
    std::FILE* file = nullptr;
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    bool created = false;
    std::vector<uint8_t> row;
};

bool ReadJpeg(ReadState& state, Image& out) {
    state.info.err = &state.errors.base;
    if (setjmp(state.errors.jump)) return false;
    jpeg_create_decompress(&state.info);
    state.created = true;
    jpeg_stdio_src(&state.info, state.file);
    jpeg_read_header(&state.info, TRUE);
    // Checked before the decoder sizes its buffers by the header.
    if (!ImageSizeAllowed(state.info.image_width, state.info.image_height)) {
        std::snprintf(state.errors.message, sizeof state.errors.message,
                      "image size %u x %u is outside the supported range", unsigned(state.info.image_width),
                      unsigned(state.info.image_height));
        return false;
    }

    bool cmyk = false;
    switch (state.info.jpeg_color_space) {
        case JCS_GRAYSCALE:
            state.info.out_color_space = JCS_GRAYSCALE;
            break;
        case JCS_CMYK:
        case JCS_YCCK:
            state.info.out_color_space = JCS_CMYK;
            cmyk = true;
            break;
        default:
            state.info.out_color_space = JCS_RGB;
            break;
    }
    jpeg_start_decompress(&state.info);
    const JDIMENSION width = state.info.output_width;
    const JDIMENSION height = state.info.output_height;
    const int components = state.info.output_components;
    if (!Image::Allocate(width, height, out)) {
        std::snprintf(state.errors.message, sizeof state.errors.message, "no memory for the image");
        return false;
    }
    out.sourceType = cmyk ? svgf::kSourceCmyk : components == 1 ? svgf::kSourceGrey : svgf::kSourceRgb;
    // Files with an Adobe marker store CMYK inverted (0 = full ink).
    const bool inverted = cmyk && state.info.saw_Adobe_marker;
    state.row.resize(size_t{width} * components);
    JSAMPROW rows[1] = {state.row.data()};
    while (state.info.output_scanline < height) {
        const JDIMENSION y = state.info.output_scanline;
        jpeg_read_scanlines(&state.info, rows, 1);
        uint8_t* px = out.pixel(0, y);
        const uint8_t* in = state.row.data();
        for (JDIMENSION x = 0; x < width; ++x, px += 4, in += components) {
            if (components == 1) {
                px[0] = px[1] = px[2] = in[0];
            } else if (cmyk) {
                const unsigned k = inverted ? in[3] : 255u - in[3];
                for (int c = 0; c < 3; ++c) {
                    const unsigned ink = inverted ? in[c] : 255u - in[c];
                    px[c] = static_cast<uint8_t>((ink * k + 127) / 255);
                }
            } else {
                px[0] = in[0];
                px[1] = in[1];
                px[2] = in[2];
            }
            px[3] = 255;
        }
    }
    jpeg_finish_decompress(&state.info);
    return true;
}

struct WriteState {
    std::FILE* file = nullptr;
    jpeg_compress_struct info{};
    ErrorManager errors{};
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

Status DecodeJpeg(std::FILE* file, Image& out) {
    ReadState state;
    state.file = file;
    InitErrors(state.errors);
    const bool ok = ReadJpeg(state, out);
    if (state.created) jpeg_destroy_decompress(&state.info);
    if (!ok) {
        out = Image{};
        return Status::Error(std::string("JPEG data is not readable: ") + state.errors.message);
    }
    return {};
}

Status EncodeJpeg(std::FILE* file, const PixelRows& rows, uint32_t dotsPerInch, int quality) {
    WriteState state;
    state.file = file;
    InitErrors(state.errors);
    const bool ok = WriteJpeg(state, rows, dotsPerInch, quality);
    if (state.created) jpeg_destroy_compress(&state.info);
    return ok ? Status{} : Status::Error(std::string("JPEG could not be written: ") + state.errors.message);
}

}  // namespace host::media::detail

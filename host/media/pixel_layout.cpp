// Turning an RGBA image into the pixel rows of one kind of file.
#include <algorithm>

#include "codecs.h"
#include "host/media/quantize.h"

namespace host::media::detail {
namespace {

// Packs values of `bits` bits (1, 2, 4 or 8) into rows, first pixel in the
// high bits, as PNG stores them.
void Pack(PixelRows& rows, const std::vector<uint8_t>& values) {
    const uint32_t bits = rows.bits;
    rows.stride = (size_t{rows.width} * bits + 7) / 8;
    rows.data.assign(rows.stride * rows.height, 0);
    for (uint32_t y = 0; y < rows.height; ++y) {
        uint8_t* out = rows.data.data() + y * rows.stride;
        const uint8_t* in = values.data() + size_t{y} * rows.width;
        for (uint32_t x = 0; x < rows.width; ++x) {
            const size_t bit = size_t{x} * bits;
            out[bit / 8] |= static_cast<uint8_t>(in[x] << (8 - bits - bit % 8));
        }
    }
}

bool HasSeeThrough(const Image& image) {
    for (size_t i = 3; i < image.rgba.size(); i += 4) {
        if (image.rgba[i] != 255) return true;
    }
    return false;
}

// A palette of up to 2^bits colours, indices packed at packBits.
void LayOutIndexed(const Image& image, const WriteOptions& options, uint32_t bits, uint32_t packBits,
                   PixelRows& rows) {
    const size_t maxColours = size_t{1} << bits;
    if (options.paletted && !image.palette.empty() && image.palette.size() <= maxColours) {
        // The bitmap's own colours; scaling may have blended new ones, which
        // go to their nearest entry rather than being dithered.
        rows.palette = image.palette;
        // Uncovered (transparent) parts show as white: give them that colour
        // when the palette has room for it.
        const Rgb white{255, 255, 255};
        if (HasSeeThrough(image) && rows.palette.size() < maxColours &&
            std::find(rows.palette.begin(), rows.palette.end(), white) == rows.palette.end()) {
            rows.palette.push_back(white);
        }
        rows.bits = packBits;
        Pack(rows, MapToPalette(image, rows.palette, false));
    } else {
        rows.palette = BuildPalette(image, maxColours);
        rows.bits = packBits;
        Pack(rows, MapToPalette(image, rows.palette, true));
    }
}

}  // namespace

PixelRows LayOut(const Image& image, const WriteOptions& options) {
    PixelRows rows;
    rows.width = image.width;
    rows.height = image.height;
    const size_t count = size_t{image.width} * image.height;
    auto channels = [&](PixelRows::Kind kind, int n) {
        rows.kind = kind;
        rows.bits = 8;
        rows.stride = size_t{image.width} * n;
        rows.data.resize(count * n);
    };
    const uint32_t bits = options.bitsPerPixel;
    const bool rgba = options.format == ImageFormat::kPng && bits == 32;
    const bool cmyk = options.format == ImageFormat::kJpeg && bits == 32;
    if (rgba) {
        channels(PixelRows::Kind::kRgba, 4);
        rows.data = image.rgba;
    } else if (cmyk) {
        // Stored inverted, as files with an Adobe marker expect.
        channels(PixelRows::Kind::kCmyk, 4);
        for (size_t i = 0; i < count; ++i) {
            const Rgb c = OverWhite(&image.rgba[i * 4]);
            const int k = 255 - std::max({c.r, c.g, c.b});
            uint8_t* out = &rows.data[i * 4];
            for (int ch = 0; ch < 3; ++ch) {
                const int v = ch == 0 ? c.r : ch == 1 ? c.g : c.b;
                const int ink = k == 255 ? 0 : (255 - v - k) * 255 / (255 - k);
                out[ch] = static_cast<uint8_t>(255 - ink);
            }
            out[3] = static_cast<uint8_t>(255 - k);
        }
    } else if (bits == 24 || (options.format == ImageFormat::kJpeg && options.paletted)) {
        channels(PixelRows::Kind::kRgb, 3);
        if (bits == 24) {
            for (size_t i = 0; i < count; ++i) {
                const Rgb c = OverWhite(&image.rgba[i * 4]);
                rows.data[i * 3] = c.r;
                rows.data[i * 3 + 1] = c.g;
                rows.data[i * 3 + 2] = c.b;
            }
        } else {
            // JPEG has no palettes: the colours go through one and come out
            // as RGB.
            PixelRows indexed;
            indexed.width = image.width;
            indexed.height = image.height;
            LayOutIndexed(image, options, 8, 8, indexed);
            for (size_t i = 0; i < count; ++i) {
                const Rgb c = indexed.palette[indexed.data[i]];
                rows.data[i * 3] = c.r;
                rows.data[i * 3 + 1] = c.g;
                rows.data[i * 3 + 2] = c.b;
            }
        }
    } else if (options.format == ImageFormat::kGif || options.paletted) {
        rows.kind = PixelRows::Kind::kIndexed;
        // GIF rows are one byte a pixel whatever the table's size.
        LayOutIndexed(image, options, bits, options.format == ImageFormat::kGif ? 8 : bits, rows);
    } else {
        rows.kind = PixelRows::Kind::kGrey;
        rows.bits = bits;
        const uint32_t levels = (1u << bits) - 1;
        std::vector<uint8_t> values(count);
        for (size_t i = 0; i < count; ++i) {
            const Rgb c = OverWhite(&image.rgba[i * 4]);
            values[i] = static_cast<uint8_t>((Luma(c.r, c.g, c.b) * levels + 127) / 255);
        }
        Pack(rows, values);
    }
    return rows;
}

}  // namespace host::media::detail

// The per-format writers behind image_codec.h (the readers are imagecodecs'). Each works on an
// open stdio stream; the caller owns it and, for writers, the file it names.
#ifndef HOST_MEDIA_CODECS_H
#define HOST_MEDIA_CODECS_H

#include <cstdint>
#include <cstdio>
#include <vector>

#include "host/media/image.h"
#include "host/media/image_codec.h"

namespace host::media::detail {

// Pixels laid out for one kind of file: packed rows of `channels` bytes a
// pixel, or of `bits` per pixel for grey and palette indices under 8 bits.
struct PixelRows {
    enum class Kind { kRgba, kRgb, kGrey, kIndexed, kCmyk } kind = Kind::kRgb;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t bits = 8;  // per pixel for kGrey and kIndexed, per channel otherwise
    size_t stride = 0;
    std::vector<uint8_t> data;
    std::vector<Rgb> palette;  // kIndexed only
    const uint8_t* row(uint32_t y) const { return data.data() + y * stride; }
};

// Lays the image out as the options ask (CheckWriteOptions has passed).
PixelRows LayOut(const Image& image, const WriteOptions& options);

Status EncodePng(std::FILE* file, const PixelRows& rows, uint32_t dotsPerInch);
Status EncodeJpeg(std::FILE* file, const PixelRows& rows, uint32_t dotsPerInch, int quality);
Status EncodeGif(std::FILE* file, const PixelRows& rows);

}  // namespace host::media::detail

#endif  // HOST_MEDIA_CODECS_H

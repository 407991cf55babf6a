// Reading and writing PNG, JPEG and GIF files.
#ifndef HOST_MEDIA_IMAGE_CODEC_H
#define HOST_MEDIA_IMAGE_CODEC_H

#include <cstdint>
#include <string>

#include "host/media/image.h"

namespace host::media {

enum class ImageFormat { kJpeg, kGif, kPng };

// The format a sub-context's format code names; false for any other code.
bool FormatFromCode(uint32_t formatCode, ImageFormat& out);
const char* FormatName(ImageFormat format);

// What file to write. bitsPerPixel and paletted follow the sub-context:
//  PNG:  32 RGBA, 24 RGB, 1/2/4/8 grey, or a palette of up to 2^bits colours
//        when paletted;
//  JPEG: 32 CMYK, 24 RGB, 8 grey, or 8 paletted (the colours reduced to a
//        256-colour palette, then stored as RGB: JPEG has no palettes);
//  GIF:  1 to 8, a palette of up to 2^bits colours.
// A paletted file keeps the image's own palette when it fits; otherwise, and
// for GIF, the colours are reduced by median cut with error diffusion.
// Files without alpha show transparent pixels over white.
struct WriteOptions {
    ImageFormat format = ImageFormat::kPng;
    uint32_t bitsPerPixel = 24;
    bool paletted = false;
    uint32_t dotsPerInch = 0;  // 0 leaves the resolution out
    int jpegQuality = 90;
};

// Checks that the format can be written at that depth.
Status CheckWriteOptions(const WriteOptions& options);

// Decodes a PNG, JPEG or GIF file (told apart by its first bytes; for a GIF
// its first frame). The image is left empty on failure.
Status DecodeImageFile(const std::string& path, Image& out);

// Writes the file through a temporary file beside it, so that a failure
// leaves no file and an existing file is replaced whole or not at all.
Status WriteImageFile(const std::string& path, const Image& image, const WriteOptions& options);

}  // namespace host::media

#endif  // HOST_MEDIA_IMAGE_CODEC_H

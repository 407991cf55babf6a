// Pictures embedded in `data:` URIs (RFC 2397), as drawing programs write
// them into an image's href: base64 or percent-encoded bytes.
#ifndef SVGIMPORT_DATA_URI_H
#define SVGIMPORT_DATA_URI_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace SVG {

// The most bytes a picture in a data: URI may decode to.
inline constexpr size_t kMaxDataUriBytes = size_t{64} << 20;

enum class DataUriResult {
    kDecoded,
    kMalformed,  // no comma, a bad base64 or percent escape
    kTooLarge,   // beyond kMaxDataUriBytes
    kNoPicture,  // the bytes are no PNG, JPEG or GIF
};

// Whether the link is a data: URI (the scheme in any case).
bool IsDataUri(std::string_view link);

// Decodes the URI's bytes into `bytes` and names their picture format by
// their signature (svgf::kFormatPng, kFormatJpeg, kFormatGif) in `format`;
// the media type the URI declares is not trusted over the bytes. White
// space inside base64 (line breaks of long URIs) is skipped.
DataUriResult DecodeDataUri(std::string_view uri, std::string& bytes, uint32_t& format,
                            size_t limit = kMaxDataUriBytes);

// What the result says, for a warning.
const char* DescribeDataUriResult(DataUriResult result);

}  // namespace SVG

#endif  // SVGIMPORT_DATA_URI_H

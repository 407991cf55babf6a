// Picture headers read for their size only, every read checked against the
// bytes there are.
#include "svgimport/picture_size.h"

namespace SVG {

namespace {

uint32_t Big16(std::string_view b, size_t at) {
    return (static_cast<uint32_t>(static_cast<uint8_t>(b[at])) << 8) | static_cast<uint8_t>(b[at + 1]);
}

uint32_t Big32(std::string_view b, size_t at) {
    return (Big16(b, at) << 16) | Big16(b, at + 2);
}

uint32_t Little16(std::string_view b, size_t at) {
    return static_cast<uint8_t>(b[at]) | (static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8);
}

std::optional<WPictureSize> Sized(uint32_t width, uint32_t height) {
    if (width == 0 || height == 0) return std::nullopt;
    return WPictureSize{width, height};
}

// The signature, then the IHDR chunk first: its length, type, width and
// height.
std::optional<WPictureSize> Png(std::string_view b) {
    if (b.size() < 24 || b.substr(12, 4) != "IHDR") return std::nullopt;
    const uint32_t width = Big32(b, 16), height = Big32(b, 20);
    // PNG sizes are at most 2^31 - 1.
    if (width > 0x7FFFFFFFu || height > 0x7FFFFFFFu) return std::nullopt;
    return Sized(width, height);
}

// GIF87a / GIF89a, then the logical screen's width and height.
std::optional<WPictureSize> Gif(std::string_view b) {
    if (b.size() < 10) return std::nullopt;
    return Sized(Little16(b, 6), Little16(b, 8));
}

// Markers from SOI on, each segment skipped by its length, to the first
// frame header: SOF0-SOF15 but DHT (C4), JPG (C8) and DAC (CC).
std::optional<WPictureSize> Jpeg(std::string_view b) {
    size_t at = 2;
    while (at + 4 <= b.size()) {
        if (static_cast<uint8_t>(b[at]) != 0xFF) return std::nullopt;
        const uint8_t marker = static_cast<uint8_t>(b[at + 1]);
        if (marker == 0xFF) {  // fill bytes before a marker
            ++at;
            continue;
        }
        // Markers without a segment: TEM, RST0-7.
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) return std::nullopt;  // the image ends or its data begins
        const size_t length = Big16(b, at + 2);
        if (length < 2) return std::nullopt;
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            // Length, precision, height, width.
            if (length < 7 || at + 9 > b.size()) return std::nullopt;
            return Sized(Big16(b, at + 7), Big16(b, at + 5));
        }
        at += 2 + length;
    }
    return std::nullopt;
}

}  // namespace

std::optional<WPictureSize> PictureSizeOf(std::string_view bytes) {
    if (bytes.starts_with("\x89PNG\r\n\x1a\n")) return Png(bytes);
    if (bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a")) return Gif(bytes);
    if (bytes.size() >= 3 && bytes.starts_with("\xFF\xD8\xFF")) return Jpeg(bytes);
    return std::nullopt;
}

}  // namespace SVG

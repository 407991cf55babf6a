// In-memory images of the stand-in host: what a decoded file becomes, and
// what the raster export filter writes out.
#ifndef HOST_MEDIA_IMAGE_H
#define HOST_MEDIA_IMAGE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "svgfilter/filter_abi.h"

namespace host::media {

// Decoded images of more pixels than this are refused rather than
// allocated; any width or height within it is taken.
inline constexpr uint64_t kMaxImagePixels = uint64_t{1} << 26;

// Success, or a message saying what went wrong and with which file.
class Status {
  public:
    Status() = default;
    static Status Error(std::string message) { return Status(std::move(message)); }
    bool ok() const { return message_.empty(); }
    explicit operator bool() const { return ok(); }
    const std::string& message() const { return message_; }

  private:
    explicit Status(std::string message) : message_(message.empty() ? "unknown error" : std::move(message)) {}
    std::string message_;
};

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Eight bits a channel, straight (not premultiplied) alpha, rows top down.
// sourceType and palette say how the file stored the pixels, so that a
// bitmap can be written back at a depth that suits it.
struct Image {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgba;
    uint32_t sourceType = svgf::kSourceRgb;
    std::vector<Rgb> palette;  // the file's colour table, empty when it had none

    bool empty() const { return width == 0 || height == 0; }
    size_t stride() const { return size_t{width} * 4; }
    uint8_t* pixel(uint32_t x, uint32_t y) { return rgba.data() + y * stride() + size_t{x} * 4; }
    const uint8_t* pixel(uint32_t x, uint32_t y) const { return rgba.data() + y * stride() + size_t{x} * 4; }

    // A blank (transparent black) image; refuses sizes past the limits.
    static Status Allocate(uint32_t width, uint32_t height, Image& out);
};

// True when width x height is within the limits above.
bool ImageSizeAllowed(uint64_t width, uint64_t height);

// Grey value of a colour; equal channels give that value back unchanged.
inline uint8_t Luma(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<uint8_t>((r * 77u + g * 150u + b * 29u + 128u) >> 8);
}

// Blends a straight-alpha pixel over white, for files without an alpha channel.
inline Rgb OverWhite(const uint8_t* px) {
    auto blend = [a = px[3]](uint8_t c) {
        return static_cast<uint8_t>((c * a + 255u * (255u - a) + 127u) / 255u);
    };
    return {blend(px[0]), blend(px[1]), blend(px[2])};
}

}  // namespace host::media

#endif  // HOST_MEDIA_IMAGE_H

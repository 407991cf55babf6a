// Pictures decoded from PNG, JPEG and GIF bytes, in the layout the file
// suggests (grey, RGB, RGBA or palette indices), one byte a sample, rows top
// down. The stand-in host widens them to RGBA; the decoder modules hand them
// to the image reader at the depth the file had.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace imagecodecs {

// Pictures of more pixels than this are refused before anything is allocated
// for them; any width or height within it is taken.
inline constexpr std::uint64_t kMaxImagePixels = std::uint64_t{1} << 26;
bool SizeAllowed(std::uint64_t width, std::uint64_t height);
// Why a picture of this size is refused ("image size W x H is outside the
// supported range: ..."), or an empty text when it is not.
std::string SizeRefusal(std::uint64_t width, std::uint64_t height);

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// How the decoded pixels are laid out.
enum class Layout { kGrey, kRgb, kRgba, kIndexed };
// How the file stored them.
enum class SourceColour { kGrey, kRgb, kPalette, kGreyAlpha, kRgbAlpha, kCmyk };

struct DecodedImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    Layout layout = Layout::kRgb;
    std::vector<std::uint8_t> pixels;  // empty after a header-only decode
    std::vector<Rgb> palette;          // kIndexed
    // kIndexed: the opacity of each entry (PNG); empty when all are opaque.
    std::vector<std::uint8_t> paletteAlpha;
    // kIndexed: the opacity of each pixel (GIF: 0 where the frame left the
    // screen unpainted or the pixel is transparent); empty when all are opaque.
    std::vector<std::uint8_t> coverage;
    std::uint8_t background = 0;  // kIndexed: the screen's background entry (GIF)

    SourceColour source = SourceColour::kRgb;
    std::uint32_t sourceBits = 8;     // bits per sample (or index) in the file
    bool sourceTransparency = false;  // a transparent colour or index (PNG tRNS)
    std::uint32_t xPixelsPerMetre = 0;  // 0 when the file names no resolution
    std::uint32_t yPixelsPerMetre = 0;
    std::uint32_t frameCount = 1;  // GIF: the images the file holds

    std::size_t Channels() const { return layout == Layout::kRgb ? 3 : layout == Layout::kRgba ? 4 : 1; }
    std::size_t Stride() const { return std::size_t{width} * Channels(); }
    const std::uint8_t* Row(std::uint32_t y) const { return pixels.data() + y * Stride(); }
};

// What to decode: the whole picture or only its header (size, layout,
// palette, resolution); for a GIF, which of its images (1-based).
struct DecodeRequest {
    bool headerOnly = false;
    std::uint32_t frame = 1;
    // When set, the rows go to rowSink, top row first, in the layout of
    // `out` (whose other fields are filled by then), rather than into
    // out.pixels: decoded one by one where the file allows it (JPEG, PNG
    // without interlacing), else from the whole picture. Answering false
    // stops the decoding with an error. It must not throw.
    bool (*rowSink)(void* sinkContext, std::uint32_t y, const std::uint8_t* row) = nullptr;
    void* sinkContext = nullptr;
};

// Hands the rows of a whole decoded picture to the request's sink: true
// when there is none or it took every row.
bool EmitRows(const DecodeRequest& request, const DecodedImage& image);

// Each answers an empty text on success, else what went wrong ("PNG data is
// not readable: ...", "... is outside the supported range"); out is then
// left empty.
std::string DecodePng(std::span<const std::uint8_t> bytes, const DecodeRequest& request, DecodedImage& out);
std::string DecodeJpeg(std::span<const std::uint8_t> bytes, const DecodeRequest& request, DecodedImage& out);
std::string DecodeGif(std::span<const std::uint8_t> bytes, const DecodeRequest& request, DecodedImage& out);

// Expands one decoded pixel row to RGBA; paletted pixels take their entry's
// opacity and their own coverage.
void ExpandRowToRgba(const DecodedImage& image, std::uint32_t y, std::uint8_t* rgba);

}  // namespace imagecodecs

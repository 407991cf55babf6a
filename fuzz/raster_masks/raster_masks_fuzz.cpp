// Mask images as a decoder would hand them over, made into regions: the
// runs of every row cover the region's width and class each pixel as its
// mask byte says, opaque runs written back as bits give the mask's bits, and
// rows written at any bit or nibble offset land exactly where asked.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "raster/image.h"
#include "raster/palette.h"
#include "raster/pixel_access.h"
#include "raster/region.h"

namespace {

using namespace raster;

// The input read a byte at a time; 0 once it runs out.
class Reader {
  public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::int32_t Small(std::int32_t n) { return Byte() % n; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// A broken promise names its line before the run stops.
void CheckAt(bool ok, int line) {
    if (!ok) {
        std::fprintf(stderr, "check failed at line %d\n", line);
        std::abort();
    }
}
#define Check(ok) CheckAt((ok), __LINE__)

std::uint8_t Bit(const std::vector<std::uint8_t>& row, std::int32_t x) {
    return static_cast<std::uint8_t>((row[static_cast<std::size_t>(x / 8)] >> (7 - x % 8)) & 1);
}

// A mask of 1-bit or 8-bit pixels from the input, made into a region and back.
void Masks(Reader& in) {
    const bool bits = (in.Byte() & 1) != 0;
    const std::int32_t width = 1 + in.Small(80), height = 1 + in.Small(12);
    const std::int32_t threshold = in.Byte();
    RIPImage* mask = RIPCreateImageEx(bits ? kTypeBilevel : kTypeCoverage, width, height, 0, 0, kOneBlock,
                                      nullptr, 0);
    Check(mask != nullptr);
    std::vector<std::vector<std::uint8_t>> rows(static_cast<std::size_t>(height));
    for (auto& row : rows) {
        row.resize(static_cast<std::size_t>(mask->stride));
        // Runs of repeated bytes, so long runs and whole words appear.
        for (std::size_t i = 0; i < row.size();) {
            const std::uint8_t v = in.Byte();
            const std::size_t n = 1 + static_cast<std::size_t>(in.Small(16));
            for (std::size_t k = 0; k < n && i < row.size(); ++k) row[i++] = v;
        }
    }
    for (std::int32_t y = 0; y < height; ++y) {
        Check(RIPSetImageData(mask, 0, y, width, 1, mask->stride, rows[static_cast<std::size_t>(y)].data(), 0) == 1);
    }
    // A rectangle that may reach past the mask, and a region that may be too small.
    const RIPRect rect{in.Small(width + 4) - 2, in.Small(height + 4) - 2, in.Small(width + 4) - 2,
                       in.Small(height + 4) - 2};
    RIPRegion* region = RIPCreateRegion(1 + in.Small(90), 1 + in.Small(14));
    Check(region != nullptr && RIPRegionInitRuns(region) == 1);
    region->runs->threshold = bits ? 128 : threshold;
    const int made = RIPRegionFromMask(region, mask, &rect);
    RIPRect clipped;
    const bool fits = RIPRectIntersect(&clipped, rect, mask->bounds) != 0 && clipped.Width() <= region->width &&
                      clipped.Height() <= region->height;
    Check(made == (fits ? 1 : 0));
    if (made == 1) {
        for (std::int32_t row = 0; row < region->height; ++row) {
            const RIPRunList& list = region->runs->rows[row];
            std::int64_t total = 0;
            for (std::int32_t i = 0; i < list.count; ++i) total += list.runs[i].length;
            Check(total == region->width && list.totalLength == region->width);
        }
        for (std::int32_t y = clipped.bottom; y <= clipped.top; ++y) {
            const auto& row = rows[static_cast<std::size_t>(y)];
            for (std::int32_t x = clipped.left; x <= clipped.right; ++x) {
                std::int32_t left = 0;
                const RIPRun* run = RIPRunAt(&region->runs->rows[y - clipped.bottom], x - clipped.left, &left);
                Check(run != nullptr && left >= 1);
                const RIPCoverageClass want =
                    bits ? (Bit(row, x) != 0 ? kCoverageFull : kCoverageNone)
                         : RIPCoverageClassOf(row[static_cast<std::size_t>(x)], region->runs->threshold);
                Check(run->coverage == want);
            }
        }
        // Opaque runs of the part just built (the region's bottom-left corner)
        // back as bits, placed anywhere, clipped to the image.
        const std::int32_t at = in.Small(16) - 8, atY = in.Small(8) - 4;
        const RIPRect built{0, static_cast<std::int32_t>(clipped.Height() - 1),
                            static_cast<std::int32_t>(clipped.Width() - 1), 0};
        RIPImage* back = RIPCreateImageEx(kTypeBilevel, width, height, 0, 0, kOneBlock, nullptr, 0);
        Check(back != nullptr && RIPRegionToBits(region, &built, back, at, atY) == 1);
        for (std::int32_t y = 0; y < height; ++y) {
            for (std::int32_t x = 0; x < width; ++x) {
                std::uint8_t got = 0;
                Check(RIPReadPixelBit(back, x, y, &got) == 1);
                const std::int32_t mx = x - at + clipped.left, my = y - atY + clipped.bottom;
                std::uint8_t want = 0;
                if (mx >= clipped.left && mx <= clipped.right && my >= clipped.bottom && my <= clipped.top) {
                    const auto& row = rows[static_cast<std::size_t>(my)];
                    want = bits ? Bit(row, mx)
                                : RIPCoverageClassOf(row[static_cast<std::size_t>(mx)], region->runs->threshold) ==
                                      kCoverageFull;
                }
                Check((got != 0) == (want != 0));
            }
        }
        RIPDestroyImage(back);
    }
    RIPDestroyRegion(region);
    RIPDestroyImage(mask);
}

// Caller rows written at any bit or nibble offset change exactly their pixels.
void Offsets(Reader& in) {
    const bool nibbles = (in.Byte() & 1) != 0;
    const std::int32_t width = 1 + in.Small(70), height = 1 + in.Small(4);
    RIPPalette* palette = nibbles ? RIPCreatePalette(kPaletteStandard16, 0) : nullptr;
    RIPImage* image = nibbles ? RIPCreatePalettedImageEx(palette, width, height, 4, 1, 0, 0, kOneBlock, nullptr, 0)
                              : RIPCreateImageEx(kTypeBilevel, width, height, 0, 0, kOneBlock, nullptr, 0);
    Check(image != nullptr);
    const std::int32_t bits = nibbles ? 4 : 1, perByte = 8 / bits;
    std::vector<std::uint8_t> before(image->imageSize);
    for (auto& b : before) b = in.Byte();
    Check(RIPSetImageData(image, 0, 0, width, height, image->stride, before.data(), 0) == 1);
    const std::int32_t x = in.Small(width + 3), y = in.Small(height + 1);
    const std::int32_t w = 1 + in.Small(width + 2), h = 1 + in.Small(height + 1);
    const std::int32_t stride = (w * bits + 7) / 8 + in.Small(3);
    std::vector<std::uint8_t> source(static_cast<std::size_t>(stride * h));
    for (auto& b : source) b = in.Byte();
    Check(RIPSetImageData(image, x, y, w, h, stride, source.data(), 0) == 1);
    const auto pixel = [&](const std::uint8_t* rows, std::int32_t rowBytes, std::int32_t px, std::int32_t py) {
        const std::uint8_t byte = rows[py * rowBytes + px / perByte];
        const int shift = 8 - bits * (px % perByte + 1);
        return (byte >> shift) & ((1 << bits) - 1);
    };
    const std::uint8_t* now = RIPBlockPixelAddress(image, 0, 0);
    for (std::int32_t py = 0; py < height; ++py) {
        for (std::int32_t px = 0; px < width; ++px) {
            const bool inside = px >= x && px < x + w && py >= y && py < y + h;
            const int want = inside ? pixel(source.data(), stride, px - x, py - y)
                                    : pixel(before.data(), image->stride, px, py);
            Check(pixel(now, image->stride, px, py) == want);
        }
    }
    RIPDestroyImage(image);
    RIPDestroyPalette(palette);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader in(data, size);
    if ((in.Byte() & 1) != 0) {
        Masks(in);
    } else {
        Offsets(in);
    }
    return 0;
}

// Blits whose source and destination overlap in one image, and blits where
// both sides carry alpha planes. Each is checked against the same blit from a
// separate one-block copy of the source into a one-block copy of the
// destination, so in the tiled rerun the tiled pixels must equal the
// contiguous ones too.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "blit_support.h"
#include "raster/raster_state.h"

namespace raster::blit {
namespace {

using testing::At;

// 300 × 160 RGB pixels: tiled, tile edges at x 144 and 288 and y 151.
constexpr std::int32_t kWidth = 300;
constexpr std::int32_t kHeight = 160;

std::vector<std::uint8_t> Pattern(std::int32_t w, std::int32_t h, std::int32_t bytes, int seed) {
    std::vector<std::uint8_t> p(static_cast<std::size_t>(w * h * bytes));
    for (std::size_t i = 0; i < p.size(); ++i) p[i] = static_cast<std::uint8_t>((i * 2654435761u + seed) >> 11);
    return p;
}

RIPImage* Make(std::int32_t type, std::int32_t w, std::int32_t h, const std::vector<std::uint8_t>& pixels,
               std::int32_t storage) {
    RIPImage* image = RIPCreateImageEx(type, w, h, 0, 0, storage, nullptr, 0);
    RIPInstallBlitPipeline();
    if (image != nullptr) RIPSetImageData(image, 0, 0, w, h, w * (image->bitsPerPixel / 8), pixels.data(), 0);
    return image;
}

std::vector<std::uint8_t> Pixels(const RIPImage* image) {
    std::vector<std::uint8_t> out;
    const std::int32_t bytes = image->bitsPerPixel / 8;
    for (std::int32_t y = 0; y < image->height; ++y) {
        for (std::int32_t x = 0; x < image->width; ++x) {
            for (std::int32_t b = 0; b < bytes; ++b) out.push_back(At(image, x, y, b));
        }
    }
    return out;
}

// The first differing pixel, for a readable failure.
std::string FirstDifference(const std::vector<std::uint8_t>& got, const std::vector<std::uint8_t>& want,
                            std::int32_t width, std::int32_t bytes) {
    if (got.size() != want.size()) return "sizes differ";
    std::size_t wrong = 0;
    std::string first;
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (got[i] == want[i]) continue;
        if (wrong++ == 0) {
            const std::size_t pixel = i / static_cast<std::size_t>(bytes);
            first = "first at x " + std::to_string(pixel % static_cast<std::size_t>(width)) + " y " +
                    std::to_string(pixel / static_cast<std::size_t>(width));
        }
    }
    return wrong == 0 ? "" : std::to_string(wrong) + " bytes differ, " + first;
}

// An alpha plane linked to the image, covering it, with graded values and
// runs of 0 and 255.
void LinkAlpha(RIPImage* image, int seed, std::int32_t storage) {
    std::vector<std::uint8_t> a(static_cast<std::size_t>(image->width * image->height));
    for (std::int32_t y = 0; y < image->height; ++y) {
        for (std::int32_t x = 0; x < image->width; ++x) {
            const int band = (x + y + seed) / 20 % 4;
            a[static_cast<std::size_t>(y * image->width + x)] =
                band == 0 ? 0 : band == 1 ? 255 : static_cast<std::uint8_t>((x * 7 + y * 3 + seed) & 0xFF);
        }
    }
    RIPImage* plane = Make(kTypeGrey8, image->width, image->height, a, storage);
    plane->type = kTypeCoverage;
    ASSERT_EQ(RIPSetLinkedImage(image, plane, nullptr, nullptr), 1);
}

struct Move {
    std::int32_t x, y;      // where the picture goes
    std::int32_t w, h;      // destination size (the source is the whole image)
    std::int32_t opacity;   // 255 plain copy, else a weighted merge through the kernels
};

class SelfBlit : public ::testing::TestWithParam<Move> {};

TEST_P(SelfBlit, ActsAsIfTheSourceWereReadFirst) {
    const Move m = GetParam();
    const std::vector<std::uint8_t> start = Pattern(kWidth, kHeight, 3, 5);
    RIPImage* image = Make(kTypeRGB24, kWidth, kHeight, start, kAllowTiling);
    RIPImage* want = Make(kTypeRGB24, kWidth, kHeight, start, kOneBlock);
    RIPImage* copy = Make(kTypeRGB24, kWidth, kHeight, start, kOneBlock);
    ASSERT_NE(image, nullptr);
    RIPRasterState* state = RIPCreateRS();
    state->opacity = static_cast<std::uint8_t>(m.opacity);
    ASSERT_EQ(RIPStretchBlitInContext(state, want, m.x, m.y, m.w, m.h, nullptr, copy, 0, 0, kWidth, kHeight,
                                      nullptr, 0),
              1);
    EXPECT_EQ(RIPStretchBlitInContext(state, image, m.x, m.y, m.w, m.h, nullptr, image, 0, 0, kWidth, kHeight,
                                      nullptr, 0),
              1);
    EXPECT_EQ(FirstDifference(Pixels(image), Pixels(want), kWidth, 3), "");
    RIPDestroyRS(state);
    RIPDestroyImage(image);
    RIPDestroyImage(want);
    RIPDestroyImage(copy);
}

// The eight directions by 7 pixels and by 1, copied and merged, and two
// stretches onto an overlapping place.
INSTANTIATE_TEST_SUITE_P(
    Moves, SelfBlit,
    ::testing::Values(Move{7, 0, kWidth, kHeight, 255}, Move{-7, 0, kWidth, kHeight, 255},
                      Move{0, 7, kWidth, kHeight, 255}, Move{0, -7, kWidth, kHeight, 255},
                      Move{7, 7, kWidth, kHeight, 255}, Move{-7, -7, kWidth, kHeight, 255},
                      Move{7, -7, kWidth, kHeight, 255}, Move{-7, 7, kWidth, kHeight, 255},
                      Move{1, 1, kWidth, kHeight, 255}, Move{-1, 1, kWidth, kHeight, 255},
                      Move{1, -1, kWidth, kHeight, 255}, Move{-1, -1, kWidth, kHeight, 255},
                      Move{7, 0, kWidth, kHeight, 128}, Move{-7, 0, kWidth, kHeight, 128},
                      Move{0, 7, kWidth, kHeight, 128}, Move{0, -7, kWidth, kHeight, 128},
                      Move{7, 7, kWidth, kHeight, 128}, Move{-7, -7, kWidth, kHeight, 128},
                      Move{7, -7, kWidth, kHeight, 128}, Move{-7, 7, kWidth, kHeight, 128},
                      Move{150, 9, kWidth, kHeight, 255},  // the overlap is past a tile edge
                      Move{5, 3, kWidth * 2, kHeight * 2, 255}, Move{10, 6, kWidth / 2, kHeight / 2, 255}));

struct AlphaCase {
    std::int32_t dx, dy, dw, dh;  // destination rectangle; the source is the whole image
    std::uint32_t flags;
    std::int32_t self;  // 1: the source is the destination image
    int stretch;
};

class AlphaBothSides : public ::testing::TestWithParam<AlphaCase> {};

// Source and destination both carry alpha planes: the blit works with the
// fewest memory blocks the store keeps, and draws what the contiguous blit does.
TEST_P(AlphaBothSides, DrawsWhatTheContiguousBlitDraws) {
    const AlphaCase c = GetParam();
    const std::vector<std::uint8_t> back = Pattern(kWidth, kHeight, 3, 1);
    const std::vector<std::uint8_t> front = Pattern(kWidth, kHeight, 3, 2);
    RIPImage* dst = Make(kTypeRGB24, kWidth, kHeight, back, kAllowTiling);
    RIPImage* src = c.self ? dst : Make(kTypeRGB24, kWidth, kHeight, front, kAllowTiling);
    RIPImage* want = Make(kTypeRGB24, kWidth, kHeight, back, kOneBlock);
    RIPImage* from = Make(kTypeRGB24, kWidth, kHeight, c.self ? back : front, kOneBlock);
    LinkAlpha(dst, 0, kAllowTiling);
    if (!c.self) LinkAlpha(src, 11, kAllowTiling);
    LinkAlpha(want, 0, kOneBlock);
    LinkAlpha(from, c.self ? 0 : 11, kOneBlock);
    RIPRasterState* state = RIPCreateRS();
    state->stretchMode = c.stretch;
    ASSERT_EQ(RIPStretchBlitInContext(state, want, c.dx, c.dy, c.dw, c.dh, nullptr, from, 0, 0, kWidth, kHeight,
                                      nullptr, c.flags),
              1);
    EXPECT_EQ(RIPStretchBlitInContext(state, dst, c.dx, c.dy, c.dw, c.dh, nullptr, src, 0, 0, kWidth, kHeight,
                                      nullptr, c.flags),
              1);
    EXPECT_EQ(FirstDifference(Pixels(dst), Pixels(want), kWidth, 3), "");
    RIPDestroyRS(state);
    if (src != dst) RIPDestroyImage(src);
    RIPDestroyImage(dst);
    RIPDestroyImage(want);
    RIPDestroyImage(from);
}

constexpr std::uint32_t kSourceAlpha = 0x20000;
constexpr std::uint32_t kAlphaGated = 0x100000;

INSTANTIATE_TEST_SUITE_P(
    Blits, AlphaBothSides,
    ::testing::Values(AlphaCase{0, 0, kWidth, kHeight, kSourceAlpha, 0, kStretchNearest},
                      AlphaCase{9, -4, kWidth, kHeight, kSourceAlpha, 0, kStretchNearest},
                      AlphaCase{0, 0, kWidth, kHeight, kSourceAlpha | kernels::kModeAdd, 0, kStretchNearest},
                      AlphaCase{0, 0, kWidth, kHeight, 0, 0, kStretchNearest},  // the destination's plane alone
                      AlphaCase{3, 2, kWidth * 3 / 2, kHeight * 3 / 2, kSourceAlpha, 0, kStretchNearest},
                      AlphaCase{3, 2, kWidth * 3 / 2, kHeight * 3 / 2, kSourceAlpha | kAlphaGated, 0, kStretchSmooth},
                      AlphaCase{-5, -8, kWidth / 2, kHeight / 3, kSourceAlpha, 0, kStretchSmooth},
                      AlphaCase{7, 7, kWidth, kHeight, kSourceAlpha, 1, kStretchNearest},
                      AlphaCase{-7, 3, kWidth, kHeight, kSourceAlpha, 1, kStretchNearest}));

}  // namespace
}  // namespace raster::blit

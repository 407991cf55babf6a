// Logic modes between grey or bilevel images on aligned tile grids: a whole
// destination tile over a whole source tile, both solid, takes the merged
// colour and stays solid, and every pixel equals what the same call paints
// when the tiles hold pixels.
#include <gtest/gtest.h>

#include "blit_support.h"
#include "memory_tile_store.h"

namespace raster::blit {
namespace {

using testing::At;

std::uint8_t PixelAt(const RIPImage* image, std::int32_t x, std::int32_t y) {
    const std::uint8_t byte = At(image, x, y);
    return image->type == kTypeBilevel ? static_cast<std::uint8_t>((byte >> (7 - x % 8)) & 1) : byte;
}

// An image of solid tiles of one colour, but for tile `pixelTile` of the
// first tile row (none when -1), overwritten with a pattern of pixels.
RIPImage* Tiled(std::int32_t type, std::int32_t width, std::int32_t height, const colour::ColorRecord& colour,
                std::int32_t pixelTile) {
    RIPImage* image = RIPCreateImageEx(type, width, height, 0, 0, kAllowTiling, nullptr, 0);
    RIPInstallBlitPipeline();
    RIPFillImage(image, &colour);
    if (pixelTile < 0) return image;
    const std::int32_t stride = image->tileWidth * image->bitsPerPixel / 8;
    std::vector<std::uint8_t> pattern(static_cast<std::size_t>(stride * height));
    for (std::size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<std::uint8_t>(i * 37 + i / 7);
    RIPSetImageData(image, pixelTile * image->tileWidth, 0, image->tileWidth, height, stride, pattern.data(), 0);
    return image;
}

// Every tile given pixels (the test store keeps them so).
void Expand(RIPImage* image) {
    for (std::int32_t r = 0; r < image->tilesDown; ++r) {
        for (std::int32_t c = 0; c < image->tilesAcross; ++c) {
            RIPTileLock(&image->tileTable[r][c]);
            RIPTileUnlock(&image->tileTable[r][c]);
        }
    }
}

struct LogicCase {
    const char* name;
    std::int32_t type;
    std::int32_t width, height;  // four tiles across, one down
    colour::ColorRecord destination, source;
};

// Tile 0 is solid on both sides; tile 1 a solid destination over source
// pixels; tile 2 destination pixels over a solid source; tile 3 is cut by
// the clip.
TEST(SolidLogic, SolidPairsMergeAndStaySolid) {
    raster::testing::ScopedTileStore scoped(4);
    const LogicCase cases[] = {
        {"grey", kTypeGrey8, 900, 10, colour::ColorRecord::Grey(0xF0), colour::ColorRecord::Grey(0x0F)},
        {"grey, sums that clamp", kTypeGrey8, 900, 10, colour::ColorRecord::Grey(0xC8),
         colour::ColorRecord::Grey(0x64)},
        {"bilevel, set over clear", kTypeBilevel, 2900, 3, colour::ColorRecord::BW(1), colour::ColorRecord::BW(0)},
        {"bilevel, set over set", kTypeBilevel, 2900, 3, colour::ColorRecord::BW(1), colour::ColorRecord::BW(1)},
    };
    for (const LogicCase& c : cases) {
        for (const std::uint32_t mode : {1u, 3u, 5u, 6u, 7u, 25u}) {
            RIPImage* dst = Tiled(c.type, c.width, c.height, c.destination, 2);
            RIPImage* src = Tiled(c.type, c.width, c.height, c.source, 1);
            RIPImage* expandedDst = Tiled(c.type, c.width, c.height, c.destination, 2);
            RIPImage* expandedSrc = Tiled(c.type, c.width, c.height, c.source, 1);
            ASSERT_EQ(dst->tilesAcross, 4) << c.name;
            Expand(expandedDst);
            Expand(expandedSrc);
            const std::int32_t clip = c.width - 50;
            for (const auto& [d, s] : {std::pair{dst, src}, std::pair{expandedDst, expandedSrc}}) {
                ASSERT_EQ(RIPStretchBlitInContext(nullptr, d, 0, 0, clip, c.height, nullptr, s, 0, 0, clip, c.height,
                                                  nullptr, mode),
                          1)
                    << c.name << " mode " << mode;
            }
            const auto solid = [&](std::int32_t tile) { return scoped.store().IsSolid(dst->tileTable[0][tile].tile); };
            EXPECT_TRUE(solid(0)) << c.name << " mode " << mode;
            EXPECT_EQ(solid(1), mode == 5) << c.name << " mode " << mode;
            EXPECT_EQ(solid(2), mode == 6) << c.name << " mode " << mode;
            EXPECT_FALSE(solid(3)) << c.name << " mode " << mode;
            for (std::int32_t y = 0; y < c.height; ++y) {
                for (std::int32_t x = 0; x < c.width; ++x) {
                    ASSERT_EQ(PixelAt(dst, x, y), PixelAt(expandedDst, x, y))
                        << c.name << " mode " << mode << " at " << x << "," << y;
                }
            }
            EXPECT_EQ(scoped.store().HeldLocks(), 0);
            for (RIPImage* image : {dst, src, expandedDst, expandedSrc}) RIPDestroyImage(image);
        }
    }
}

TEST(SolidLogic, AndOfComplementaryGreysIsSolidBlack) {
    raster::testing::ScopedTileStore scoped(4);
    RIPImage* dst = Tiled(kTypeGrey8, 256, 256, colour::ColorRecord::Grey(0xF0), -1);
    RIPImage* src = Tiled(kTypeGrey8, 256, 256, colour::ColorRecord::Grey(0x0F), -1);
    ASSERT_EQ(RIPStretchBlitInContext(nullptr, dst, 0, 0, 256, 256, nullptr, src, 0, 0, 256, 256, nullptr, 1), 1);
    ASSERT_TRUE(scoped.store().IsSolid(dst->tileTable[0][0].tile));
    EXPECT_EQ(RIPTileInlineData(&dst->tileTable[0][0])->bytes[8], 0);
    RIPDestroyImage(dst);
    RIPDestroyImage(src);
}

TEST(SolidLogic, ATileSharedWithAnotherImageIsReplacedNotChanged) {
    raster::testing::ScopedTileStore scoped(4);
    RIPImage* dst = Tiled(kTypeGrey8, 256, 256, colour::ColorRecord::Grey(0xF0), -1);
    RIPImage* src = Tiled(kTypeGrey8, 256, 256, colour::ColorRecord::Grey(0x0F), -1);
    RIPImage* sharer = Tiled(kTypeGrey8, 256, 256, colour::ColorRecord::Grey(0), -1);
    ASSERT_EQ(RIPShareTiles(nullptr, sharer, dst), 1);
    ASSERT_EQ(sharer->tileTable[0][0].tile, dst->tileTable[0][0].tile);
    ASSERT_EQ(RIPStretchBlitInContext(nullptr, dst, 0, 0, 256, 256, nullptr, src, 0, 0, 256, 256, nullptr, 3), 1);
    EXPECT_EQ(PixelAt(dst, 10, 10), 0xFF);
    EXPECT_EQ(PixelAt(sharer, 10, 10), 0xF0);
    for (RIPImage* image : {dst, src, sharer}) RIPDestroyImage(image);
}

}  // namespace
}  // namespace raster::blit

// The blit pipeline: refused calls, merges between formats, channel blits,
// inversion, masks and progress.
#include <gtest/gtest.h>

#include "blit_support.h"
#include "memory_tile_store.h"
#include "raster/raster_state.h"
#include "raster/row_convert.h"

namespace raster::blit {
namespace {

using testing::At;
using testing::Grey;
using testing::Row;

TEST(Blit, RefusedCallsChangeNothing) {
    RIPImage* dst = Grey(4, 2, {1, 2, 3, 4, 5, 6, 7, 8});
    RIPImage* src = Grey(4, 2, {9, 9, 9, 9, 9, 9, 9, 9});
    EXPECT_EQ(RIPStretchBlitInContext(nullptr, dst, 0, 0, 0, 2, nullptr, src, 0, 0, 4, 2, nullptr, 0), 1);
    EXPECT_EQ(RIPStretchBlitInContext(nullptr, dst, 0, 0, 4, 2, nullptr, src, 0, 0, 4, 2, nullptr, 35), 1);
    // A destination rectangle beside the image.
    EXPECT_EQ(RIPStretchBlitInContext(nullptr, dst, 10, 0, 4, 2, nullptr, src, 0, 0, 4, 2, nullptr, 0), 1);
    EXPECT_EQ(Row(dst, 0), (std::vector<std::uint8_t>{1, 2, 3, 4}));
    RIPDestroyImage(dst);
    RIPDestroyImage(src);
}

TEST(Blit, RgbOntoGreyMergesInGrey) {
    RIPImage* src = RIPCreateImageEx(kTypeRGB24, 1, 1, 0, 0, kOneBlock, nullptr, 0);
    std::uint8_t* p = RIPBlockPixelAddress(src, 0, 0);
    p[0] = 10;
    p[1] = 20;
    p[2] = 30;
    RIPImage* dst = Grey(1, 1, {0});
    ASSERT_EQ(RIPStretchBlitInContext(nullptr, dst, 0, 0, 1, 1, nullptr, src, 0, 0, 1, 1, nullptr, 0), 1);
    EXPECT_EQ(At(dst, 0, 0), 22);
    RIPDestroyImage(dst);
    RIPDestroyImage(src);
}

TEST(Blit, GreyOntoInkMergesInInk) {
    RIPImage* src = Grey(2, 1, {0, 200});
    RIPImage* dst = RIPCreateImageEx(kTypeCMYK32, 2, 1, 0, 0, kOneBlock, nullptr, 0);
    ASSERT_EQ(RIPStretchBlitInContext(nullptr, dst, 0, 0, 2, 1, nullptr, src, 0, 0, 2, 1, nullptr, 0), 1);
    std::uint8_t expected[8];
    const std::uint8_t grey[2] = {0, 200};
    ASSERT_EQ(RIPGrey8ToCMYK(nullptr, 2, expected, grey), 1);
    EXPECT_EQ(std::memcmp(RIPBlockPixelAddress(dst, 0, 0), expected, 8), 0);
    RIPDestroyImage(dst);
    RIPDestroyImage(src);
}

TEST(Blit, ChannelBlits) {
    RIPImage* rgb = RIPCreateImageEx(kTypeRGB24, 1, 1, 0, 0, kOneBlock, nullptr, 0);
    RIPImage* grey = Grey(1, 1, {7});
    // Source channel 3 of a 24-bit pixel does not exist.
    EXPECT_EQ(RIPStretchBlitInContext(nullptr, grey, 0, 0, 1, 1, nullptr, rgb, 0, 0, 1, 1, nullptr, 0x41000000u), 1);
    EXPECT_EQ(At(grey, 0, 0), 7);

    RIPImage* wideSrc = RIPCreateImageEx(kTypeRGB48, 1, 1, 0, 0, kOneBlock, nullptr, 0);
    RIPImage* wideDst = RIPCreateImageEx(kTypeRGB48, 1, 1, 0, 0, kOneBlock, nullptr, 0);
    std::uint8_t* s = RIPBlockPixelAddress(wideSrc, 0, 0);
    for (int i = 0; i < 6; ++i) s[i] = static_cast<std::uint8_t>(0x10 * (i + 1));
    // Source channel 1 (bytes 2-3) onto destination channel 0 (bytes 0-1).
    ASSERT_EQ(RIPStretchBlitInContext(nullptr, wideDst, 0, 0, 1, 1, nullptr, wideSrc, 0, 0, 1, 1, nullptr, 0x21000000u),
              1);
    const std::uint8_t* d = RIPBlockPixelAddress(wideDst, 0, 0);
    EXPECT_EQ(d[0], 0x30);
    EXPECT_EQ(d[1], 0x40);
    EXPECT_EQ(d[2], 0);
    for (RIPImage* image : {rgb, grey, wideSrc, wideDst}) RIPDestroyImage(image);
}

TEST(Blit, InversionKeepsSolidTilesSolid) {
    raster::testing::ScopedTileStore scoped(4);
    RIPImage* image = Grey(300, 10, {}, kAllowTiling);
    ASSERT_EQ(image->storageKind, kStorageTiled);
    colour::ColorRecord grey;
    grey.SetModel(colour::kModelGrey);
    grey.bytes[8] = 0x0F;
    ASSERT_EQ(RIPFillImage(image, &grey), 1);
    // The clip covers the first tile whole and the second in part.
    ASSERT_EQ(RIPStretchBlitInContext(nullptr, image, 0, 0, 260, 10, nullptr, nullptr, 0, 0, 0, 0, nullptr, 5), 1);
    EXPECT_TRUE(scoped.store().IsSolid(image->tileTable[0][0].tile));
    EXPECT_EQ(At(image, 0, 0), 0xF0);
    EXPECT_EQ(At(image, 259, 9), 0xF0);
    EXPECT_EQ(At(image, 260, 9), 0x0F);
    RIPDestroyImage(image);
}

TEST(Blit, CopyOntoItselfLeavesTheImageIntact) {
    raster::testing::ScopedTileStore scoped(4);
    std::vector<std::uint8_t> pixels(300 * 300);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 7);
    RIPImage* image = Grey(300, 300, pixels, kAllowTiling);
    ASSERT_EQ(image->storageKind, kStorageTiled);
    ASSERT_EQ(RIPStretchBlitInContext(nullptr, image, 0, 0, 300, 300, nullptr, image, 0, 0, 300, 300, nullptr, 0), 1);
    ASSERT_EQ(RIPStretchBlitInContext(nullptr, image, 0, 0, 256, 256, nullptr, image, 0, 0, 256, 256, nullptr, 0), 1);
    for (int y : {0, 150, 299}) {
        for (int x : {0, 255, 256, 299}) EXPECT_EQ(At(image, x, y), pixels[static_cast<std::size_t>(y * 300 + x)]);
    }
    EXPECT_EQ(scoped.store().HeldLocks(), 0);
    RIPDestroyImage(image);
}

TEST(Blit, AlphaPlaneWeighsTheCopy) {
    RIPImage* dst = Grey(4, 1, {0, 0, 0, 0});
    RIPImage* alpha = Grey(4, 1, {0, 255, 128, 255});
    alpha->type = kTypeCoverage;
    ASSERT_EQ(RIPSetLinkedImage(dst, alpha, nullptr, nullptr), 1);
    RIPImage* src = Grey(4, 1, {200, 200, 200, 200});
    ASSERT_EQ(RIPStretchBlitInContext(nullptr, dst, 0, 0, 4, 1, nullptr, src, 0, 0, 4, 1, nullptr, 0), 1);
    EXPECT_EQ(At(dst, 0, 0), 0);
    EXPECT_EQ(At(dst, 1, 0), 200);
    EXPECT_NEAR(At(dst, 2, 0), 100, 1);
    EXPECT_EQ(At(dst, 3, 0), 200);
    RIPDestroyImage(dst);
    RIPDestroyImage(src);
}

int g_calls = 0;
int g_stopAt = 0;
int Progress(std::int32_t, std::int32_t, void*) { return ++g_calls == g_stopAt ? 0 : 1; }

TEST(Blit, ProgressStopsOnALaterZeroOnly) {
    for (const int stopAt : {1, 2}) {
        RIPImage* src = Grey(2, 2, {10, 20, 30, 40});
        RIPImage* dst = Grey(4, 4, {});
        RIPRasterState* state = RIPCreateRS();
        state->progressCallback = &Progress;
        g_calls = 0;
        g_stopAt = stopAt;
        EXPECT_EQ(RIPStretchBlitInContext(state, dst, 0, 0, 4, 4, nullptr, src, 0, 0, 2, 2, nullptr, 0), stopAt == 1 ? 1 : 0)
            << stopAt;
        EXPECT_GE(g_calls, 2);
        RIPDestroyRS(state);
        RIPDestroyImage(dst);
        RIPDestroyImage(src);
    }
}

TEST(Blit, ExtremeRatios) {
    RIPImage* src = Grey(1, 1, {77});
    RIPImage* dst = Grey(4, 1, {});
    const RIPRect huge{0, 0, 1073741823, 0};
    const RIPRect one{0, 0, 0, 0};
    EXPECT_EQ(RIPStretchBlitInContext(nullptr, dst, 0, 0, 4, 1, &huge, src, 0, 0, 0, 0, &one, 0), 1);
    EXPECT_EQ(Row(dst, 0), (std::vector<std::uint8_t>{77, 77, 77, 77}));
    // The reduction the other way draws nothing and answers 0.
    EXPECT_EQ(RIPStretchBlitInContext(nullptr, src, 0, 0, 1, 1, &one, dst, 0, 0, 0, 0, &huge, 0), 0);
    EXPECT_EQ(At(src, 0, 0), 77);
    RIPDestroyImage(dst);
    RIPDestroyImage(src);
}

}  // namespace
}  // namespace raster::blit

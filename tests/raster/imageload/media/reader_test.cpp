// The image reader through the decoder modules, over pictures the tests
// write with the libraries' encoders.
#include <png.h>

#include "imageload/filter_callbacks.h"
#include "media_fixture.h"
#include "raster/palette.h"

namespace imageload::testing {
namespace {

class ReaderTest : public PictureFolderTest {
  protected:
    // Opens and reads frame n; the image stays the reader's.
    const raster::RIPImage* Load(FilterImageReader& reader, const std::string& path, std::uint32_t frame = 1,
                                 std::uint32_t format = 0) {
        if (!reader.Open(path, format)) return nullptr;
        return reader.ReadFrame(frame) ? reader.Target() : nullptr;
    }
};

TEST_F(ReaderTest, RgbPngLoadsBottomUpByteExact) {
    const std::string path = Path("rgb.png");
    WritePng(path, 3, 2, PNG_COLOR_TYPE_RGB, 8, {{1, 2, 3, 4, 5, 6, 7, 8, 9}, {10, 11, 12, 13, 14, 15, 16, 17, 18}});
    FilterImageReader reader;
    const raster::RIPImage* image = Load(reader, path);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(reader.Format(), kFormatPng);
    EXPECT_EQ(image->type, raster::kTypeRGB24);
    EXPECT_EQ(reader.FrameRect(), (platform::Rect{0, 0, 3, 2}));
    // The picture's top row is image row 1; pixels are stored blue, green, red.
    std::vector<std::uint8_t> top(9);
    for (int x = 0; x < 3; ++x) ASSERT_EQ(raster::RIPReadPixel24(image, x, 1, &top[3 * x]), 1);
    EXPECT_EQ(top, (std::vector<std::uint8_t>{3, 2, 1, 6, 5, 4, 9, 8, 7}));
    EXPECT_EQ(ColourAt(image, 2, 1), Rgb(16, 17, 18));
}

TEST_F(ReaderTest, GreyPngsBecomeGreyImages) {
    const std::string grey8 = Path("grey8.png"), grey16 = Path("grey16.png"), grey2 = Path("grey2.png");
    WritePng(grey8, 2, 1, PNG_COLOR_TYPE_GRAY, 8, {{0x20, 0xE0}});
    // 16-bit samples keep their high byte.
    WritePng(grey16, 2, 1, PNG_COLOR_TYPE_GRAY, 16, {{0x12, 0xFF, 0xAB, 0x01}});
    WritePng(grey2, 4, 1, PNG_COLOR_TYPE_GRAY, 2, {{0x1B}});  // 0, 1, 2, 3
    const struct {
        std::string path;
        std::vector<int> values;
    } cases[] = {{grey8, {0x20, 0xE0}}, {grey16, {0x12, 0xAB}}, {grey2, {0, 0x55, 0xAA, 0xFF}}};
    for (const auto& c : cases) {
        FilterImageReader reader;
        const raster::RIPImage* image = Load(reader, c.path);
        ASSERT_NE(image, nullptr) << c.path;
        EXPECT_EQ(image->type, raster::kTypeGrey8) << c.path;
        EXPECT_EQ(image->palette, nullptr) << c.path;
        for (std::size_t x = 0; x < c.values.size(); ++x) {
            const int v = c.values[x];
            EXPECT_EQ(ColourAt(image, static_cast<int>(x), 0), Rgb(v, v, v)) << c.path << " x " << x;
        }
    }
}

TEST_F(ReaderTest, SixteenColoursAtFourBitsWidenToEightBitsWithTheSamePalette) {
    std::vector<Colour> palette;
    for (int i = 0; i < 16; ++i) palette.push_back({std::uint8_t(i * 16), std::uint8_t(255 - i), std::uint8_t(i)});
    const std::string path = Path("sixteen.png");
    WritePng(path, 4, 2, PNG_COLOR_TYPE_PALETTE, 4, {{0x01, 0x23}, {0xCD, 0xEF}}, palette);
    FilterImageReader reader;
    const raster::RIPImage* image = Load(reader, path);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->type, raster::kTypePaletted);
    EXPECT_EQ(image->bitsPerPixel, 8);
    ASSERT_NE(image->palette, nullptr);
    ASSERT_EQ(image->palette->count, 16);
    EXPECT_EQ(image->flags & raster::kImagePaletteBorrowed, 0u);  // the image owns it
    for (int i = 0; i < 16; ++i) {
        const std::uint8_t* e = image->palette->Entries() + 3 * i;
        EXPECT_EQ(e[2], palette[i].r);
        EXPECT_EQ(e[1], palette[i].g);
        EXPECT_EQ(e[0], palette[i].b);
    }
    // Indices 0..3 on the top row, 12..15 below.
    EXPECT_EQ(IndexAt(image, 3, 0), 3);
    EXPECT_EQ(IndexAt(image, 0, 1), 12);
}

TEST_F(ReaderTest, OneBitFramesBecomeBilevelOnlyInBlackAndWhite) {
    const std::string whiteBlack = Path("white_black.png"), blackWhite = Path("black_white.png"),
                      redBlue = Path("red_blue.png");
    // 0b10100000: index 1, 0, 1 on a 3-pixel row.
    WritePng(whiteBlack, 3, 1, PNG_COLOR_TYPE_PALETTE, 1, {{0xA0}}, {{255, 255, 255}, {0, 0, 0}});
    WritePng(blackWhite, 3, 1, PNG_COLOR_TYPE_PALETTE, 1, {{0xA0}}, {{0, 0, 0}, {255, 255, 255}});
    WritePng(redBlue, 3, 1, PNG_COLOR_TYPE_PALETTE, 1, {{0xA0}}, {{255, 0, 0}, {0, 0, 255}});
    const struct {
        std::string path;
        std::int32_t type;
        colour::ColorRecord one, zero;
    } cases[] = {{whiteBlack, raster::kTypeBilevel, Rgb(0, 0, 0), Rgb(255, 255, 255)},
                 {blackWhite, raster::kTypeBilevel, Rgb(255, 255, 255), Rgb(0, 0, 0)},
                 {redBlue, raster::kTypePaletted, Rgb(0, 0, 255), Rgb(255, 0, 0)}};
    for (const auto& c : cases) {
        FilterImageReader reader;
        const raster::RIPImage* image = Load(reader, c.path);
        ASSERT_NE(image, nullptr) << c.path;
        EXPECT_EQ(image->type, c.type) << c.path;
        EXPECT_EQ(ColourAt(image, 0, 0), c.one) << c.path;
        EXPECT_EQ(ColourAt(image, 1, 0), c.zero) << c.path;
        EXPECT_EQ(ColourAt(image, 2, 0), c.one) << c.path;
    }
}

TEST_F(ReaderTest, AlphaIsCompositedOverWhite) {
    const std::string path = Path("rgba.png");
    WritePng(path, 2, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, {{255, 0, 0, 255, 0, 0, 0, 0}});
    FilterImageReader reader;
    const raster::RIPImage* image = Load(reader, path);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->type, raster::kTypeRGB24);
    EXPECT_EQ(ColourAt(image, 0, 0), Rgb(255, 0, 0));
    EXPECT_EQ(ColourAt(image, 1, 0), Rgb(255, 255, 255));
}

TEST_F(ReaderTest, JpegsLoadWithinRoundingOfTheirColour) {
    const struct {
        const char* name;
        std::vector<std::uint8_t> sample;
        std::int32_t type;
        int r, g, b;
    } cases[] = {{"flat.jpg", {200, 100, 50}, raster::kTypeRGB24, 200, 100, 50},
                 {"grey.jpg", {77}, raster::kTypeGrey8, 77, 77, 77},
                 // libjpeg writes an Adobe marker: samples are inverted inks
                 // (255 none). No cyan or black, full magenta and yellow: red.
                 {"cmyk.jpg", {255, 0, 0, 255}, raster::kTypeRGB24, 255, 0, 0}};
    for (const auto& c : cases) {
        const std::string path = Path(c.name);
        WriteFlatJpeg(path, 16, 8, c.sample);
        FilterImageReader reader;
        const raster::RIPImage* image = Load(reader, path);
        ASSERT_NE(image, nullptr) << c.name;
        EXPECT_EQ(reader.Format(), kFormatJpeg);
        EXPECT_EQ(image->type, c.type) << c.name;
        const colour::ColorRecord colour = ColourAt(image, 5, 3);
        EXPECT_NEAR(colour.Red(), c.r, 2) << c.name;
        EXPECT_NEAR(colour.Green(), c.g, 2) << c.name;
        EXPECT_NEAR(colour.Blue(), c.b, 2) << c.name;
    }
}

TEST_F(ReaderTest, GifFramesAreTheFilesImages) {
    const std::string path = Path("two.gif");
    WriteGif(path, 2, 2, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}}, {{0, 0, 0, 0}, {1, 2, 2, 1}});
    // Without the callback set the animated-GIF entry falls back to the plain one.
    FilterImageReader reader;
    ASSERT_EQ(reader.Open(path, kFormatAnimatedGif), 1);
    EXPECT_EQ(reader.Format(), kFormatGif);
    EXPECT_EQ(reader.FrameCount(), 2);
    ASSERT_EQ(reader.ReadFrame(2), 1);
    const raster::RIPImage* image = reader.Target();
    EXPECT_EQ(image->type, raster::kTypePaletted);
    EXPECT_EQ(ColourAt(image, 0, 0), Rgb(0, 255, 0));
    EXPECT_EQ(ColourAt(image, 1, 0), Rgb(0, 0, 255));
    ASSERT_EQ(reader.ReadFrame(1), 1);
    EXPECT_EQ(ColourAt(reader.Target(), 1, 1), Rgb(255, 0, 0));
    EXPECT_EQ(reader.ReadFrame(3), 0);
}

TEST_F(ReaderTest, AnimatedGifEntryServesWhenTheCallbackSetLoads) {
    const std::string path = Path("anim.gif");
    WriteGif(path, 1, 1, {{10, 20, 30}, {40, 50, 60}}, {{0}, {1}, {0}});
    SetCallbackSetFolder(SVGFILTER_FAKE_CBS_WHOLE);
    {
        FilterImageReader reader;
        ASSERT_EQ(reader.Open(path, kFormatAnimatedGif), 1);
        EXPECT_EQ(reader.Format(), kFormatAnimatedGif);
        ASSERT_NE(reader.Context()->callbacks->createPalette, nullptr);  // forwarding entries installed
        EXPECT_EQ(reader.FrameCount(), 3);
        ASSERT_EQ(reader.ReadFrame(2), 1);
        EXPECT_EQ(ColourAt(reader.Target(), 0, 0), Rgb(40, 50, 60));
    }
    // The reader's release took the callback set with it.
    EXPECT_EQ(UnloadRIPCallbackSet(), 0);
    SetCallbackSetFolder("");
}

TEST_F(ReaderTest, PngNamedBmpIsReadAsPng) {
    const std::string path = Path("really_a_png.bmp");
    WritePng(path, 1, 1, PNG_COLOR_TYPE_RGB, 8, {{9, 8, 7}});
    FilterImageReader reader;
    ASSERT_NE(Load(reader, path), nullptr);
    EXPECT_EQ(reader.Format(), kFormatPng);
}

TEST_F(ReaderTest, BrokenPicturesFailAndLeaveNothingOpen) {
    const std::string cut = Path("cut.png");
    WritePng(cut, 64, 64, PNG_COLOR_TYPE_GRAY, 8, std::vector<std::vector<std::uint8_t>>(64, std::vector<std::uint8_t>(64, 7)));
    std::filesystem::resize_file(cut, 60);  // the header survives, the pixels do not
    FilterImageReader reader;
    ASSERT_EQ(reader.Open(cut, 0), 1);
    EXPECT_EQ(reader.ReadFrame(1), 0);

    const std::string garbage = Path("garbage.jpg");
    std::FILE* f = std::fopen(garbage.c_str(), "wb");
    std::fputs("\xFF\xD8\xFF\xC2 not really a jpeg", f);
    std::fclose(f);
    FilterImageReader second;
    EXPECT_EQ(second.Open(garbage, 0), 0);
    EXPECT_FALSE(second.Mapped());
    EXPECT_FALSE(second.ModuleLoaded());
}

}  // namespace
}  // namespace imageload::testing

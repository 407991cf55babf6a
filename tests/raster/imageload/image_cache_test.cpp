// The image cache without decoder modules: classification, hashing,
// placeholders through the bitmap provider, and pictures that cannot load.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "imageload/filter_image_reader.h"
#include "imageload/image_handler.h"
#include "platform/bitmaps.h"
#include "platform/messages.h"
#include "blit/stretch_blit.h"
#include "raster/pixel_access.h"

namespace imageload {
namespace {

namespace fs = std::filesystem;

// A folder of its own for each test, and no decoder modules.
class NoModulesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("imageload_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_ / "modules");
        FilterImageReader::SetModuleFolder((folder_ / "modules").string());
    }
    void TearDown() override {
        FilterImageReader::SetModuleFolder("");
        markup::Singleton<ImageHandler>::Release();
        fs::remove_all(folder_);
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        const fs::path path = folder_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    fs::path folder_;
};

// Answers two of the host's bitmaps.
class TwoBitmaps : public platform::BitmapProvider {
  public:
    bool LoadBitmap(std::uint32_t id, platform::ResourceBitmap& out) override {
        if (id == 13005) {  // 2 × 2, 32 bits: red top left, blue bottom right
            out = {2, 2, 32, 8, {0, 0, 255, 0, 0, 255, 0, 0, 0, 0, 0, 0, 255, 0, 0, 0}};
            return true;
        }
        if (id == 13010) {  // 9 × 1, 1 bit, rows padded to 2 bytes
            out = {9, 1, 1, 2, {0xAA, 0x80}};
            return true;
        }
        return false;
    }
};

TEST(ImageCacheTest, ClassifiesSourcesByExtension) {
    const struct {
        const char* source;
        std::int32_t code;
    } cases[] = {{"page.html?x=1", kMediaQuery},    {"count.exe?count", kMediaCounter},
                 {"c.EXE?COUNTER", kMediaCounter},  {"tune.Mid", kMediaSound},
                 {"a.wav", kMediaSound},            {"a.jsp", kMediaServerPage},
                 {"photo.jpeg", kMediaPicture},     {"", kMediaPicture},
                 {"Applet.class", kMediaApplet},    {"x.activex", kMediaActiveX},
                 {"film.mov", kMediaMovie},         {"f.script", kMediaScript},
                 {"f.hidden", kMediaHidden},        {"f.xxxxx", kMediaUnknown},
                 {"noextension", kMediaPicture}};
    for (const auto& c : cases) EXPECT_EQ(ImageHandler::ClassifySource(c.source), c.code) << c.source;
}

TEST(ImageCacheTest, HashesByLengthFirstAndMiddleCharacter) {
    EXPECT_EQ(ImageHandler::HashSource(""), 0);
    // length 5, 'a' = 97, middle 'c' = 99: (5 + 4 × (97 + 4 × 99)) mod 13
    EXPECT_EQ(ImageHandler::HashSource("abcde"), (5 + 4 * (97 + 4 * 99)) % 13);
    // Bytes above 127 count as negative; the remainder is brought into range.
    const std::int32_t hash = ImageHandler::HashSource("\xF0\xF0\xF0");
    EXPECT_EQ(hash, ((3 + 4 * (-16 + 4 * -16)) % 13 + 13) % 13);
}

TEST_F(NoModulesTest, PlaceholdersComeFromTheHostsBitmaps) {
    TwoBitmaps bitmaps;
    platform::SetBitmapProvider(&bitmaps);
    ImageHandler& cache = ImageHandler::Instance();
    platform::Rect rect;
    Image* picture = cache.GetPlaceholder(kMediaPicture, nullptr, rect);
    EXPECT_EQ(rect, (platform::Rect{0, 0, 32, 32}));
    ASSERT_NE(picture->Frame(0), nullptr);
    const raster::RIPImage* frame = picture->Frame(0)->image;
    EXPECT_EQ(frame->type, raster::kTypeRGB24);
    colour::ColorRecord colour;
    // The bitmap's top row is the image's top row (rows count from the bottom).
    ASSERT_EQ(raster::RIPGetPixelColor(&colour, frame, 0, 1), 1);
    EXPECT_EQ(colour, colour::ColorRecord::RGB(255, 0, 0));
    ASSERT_EQ(raster::RIPGetPixelColor(&colour, frame, 1, 0), 1);
    EXPECT_EQ(colour, colour::ColorRecord::RGB(0, 0, 255));

    // Scaled smoothly to another size, the corners keep their colours.
    raster::blit::RIPInstallBlitPipeline();
    raster::RIPImage* scaled = picture->ScaledFrame(4, 4);
    ASSERT_NE(scaled, nullptr);
    EXPECT_EQ(scaled->type, raster::kTypeRGB24);
    ASSERT_EQ(raster::RIPGetPixelColor(&colour, scaled, 0, 3), 1);
    EXPECT_EQ(colour, colour::ColorRecord::RGB(255, 0, 0));
    ASSERT_EQ(raster::RIPGetPixelColor(&colour, scaled, 3, 0), 1);
    EXPECT_EQ(colour, colour::ColorRecord::RGB(0, 0, 255));
    raster::RIPDestroyImage(scaled);

    Image* script = cache.GetPlaceholder(kMediaScript, nullptr, rect);
    EXPECT_EQ(rect, (platform::Rect{0, 0, 18, 13}));
    ASSERT_NE(script->Frame(0), nullptr);
    EXPECT_EQ(script->Frame(0)->image->type, raster::kTypeBilevel);
    EXPECT_EQ(script->Frame(0)->image->width, 9);
    // Without a bitmap the placeholder has its size and no frame.
    Image* movie = cache.GetPlaceholder(kMediaMovie, nullptr, rect);
    EXPECT_EQ(rect, (platform::Rect{0, 0, 150, 100}));
    EXPECT_EQ(movie->Frame(0), nullptr);
    EXPECT_EQ(cache.GetPlaceholder(kMediaPicture, nullptr, rect), picture);
    EXPECT_EQ(picture->useCount, 2u);
    EXPECT_EQ(cache.ReleaseImage(picture), 1u);
    EXPECT_EQ(cache.ReleaseImage(picture), 0u);
    EXPECT_NE(cache.GetPlaceholder(kMediaPicture, nullptr, rect)->useCount, 0u);
    platform::SetBitmapProvider(nullptr);
}

TEST_F(NoModulesTest, SourcesThatAreNotPicturesGetTheirPlaceholder) {
    ImageHandler& cache = ImageHandler::Instance();
    std::int32_t width = 0, height = 0;
    int loaded = -1;
    Image* sound = cache.GetImage("tune.mid", width, height, loaded, nullptr);
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(width, 141);
    EXPECT_EQ(height, 56);
    EXPECT_TRUE(sound->source.IsEmpty());
    EXPECT_EQ(cache.ImageCount(), 0u);
}

TEST_F(NoModulesTest, MissingModuleLeavesNothingOpenAndGivesPlaceholderZero) {
    const std::string png = Write("picture.png", std::string("\x89PNG\r\n\x1a\n", 8) + std::string(64, '\0'));
    FilterImageReader reader;
    EXPECT_EQ(reader.Open(png, 0), 0);
    EXPECT_FALSE(reader.Mapped());
    EXPECT_FALSE(reader.ModuleLoaded());
    EXPECT_EQ(reader.Context(), nullptr);

    ImageHandler& cache = ImageHandler::Instance();
    std::int32_t width = 10, height = 10;
    int loaded = -1;
    const int callerContext = 0;
    Image* image = cache.GetImage(png.c_str(), width, height, loaded, &callerContext);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(loaded, 0);
    EXPECT_TRUE(image->source.IsEmpty());  // placeholder 0
    EXPECT_EQ(width, 32);
    EXPECT_EQ(cache.ImageCount(), 0u);
    // Without a caller context the failure is null.
    EXPECT_EQ(cache.GetImage(png.c_str(), width, height, loaded, nullptr), nullptr);
    // Formats without a module fail the same way.
    const std::string bmp = "BM" + std::string(12, '\0') + "\x28" + std::string(40, '\0');
    const std::string tiff = std::string("II*\0", 4) + std::string(40, '\0');
    const std::string avi = "RIFF" + std::string(4, '\0') + "AVI " + std::string(40, '\0');
    for (const auto& [name, bytes] : {std::pair{"a.bmp", bmp}, {"a.tif", tiff}, {"a.avi", avi}}) {
        EXPECT_EQ(reader.Open(Write(name, bytes), 0), 0) << name;
        EXPECT_FALSE(reader.Mapped()) << name;
    }
}

TEST_F(NoModulesTest, RowsWithANegativeWidthRunDownwards) {
    FilterImageReader::SetModuleFolder(SVGFILTER_FAKE_MODULES);
    const std::string png = Write("fake.png", std::string("\x89PNG\r\n\x1a\n", 8) + std::string(8, '\0'));
    FilterImageReader reader;
    ASSERT_EQ(reader.Open(png, 0), 1);
    ASSERT_EQ(reader.ReadFrame(1), 1);
    const raster::RIPImage* image = reader.Target();
    EXPECT_EQ(image->type, raster::kTypePaletted);
    EXPECT_EQ(image->bitsPerPixel, 8);
    // Row k after the pointer lands on image row 3 - k. Read through the
    // pixel reader, which serves one-block and tiled images alike.
    for (const auto& [x, y, index] : {std::array{1, 2, 1}, {0, 1, 2}, {1, 0, 3}}) {
        std::uint8_t value = 0;
        ASSERT_EQ(raster::RIPReadPixelByte(image, x, y, &value), 1);
        EXPECT_EQ(value, index) << x << "," << y;
    }
    colour::ColorRecord colour;
    ASSERT_EQ(raster::RIPGetPixelColor(&colour, image, 0, 2), 1);
    EXPECT_EQ(colour, colour::ColorRecord::RGB(0, 255, 0));
}

TEST_F(NoModulesTest, RowCountsOfAModuleAreChecked) {
    FilterImageReader::SetModuleFolder(SVGFILTER_FAKE_MODULES);
    const std::string png = Write("fake.png", std::string("\x89PNG\r\n\x1a\n", 8) + std::string(8, '\0'));
    FilterImageReader reader;
    ASSERT_EQ(reader.Open(png, 0), 1);
    ASSERT_EQ(reader.ReadFrame(1), 1);
    const std::vector<std::uint8_t> rows(64, 7);
    const std::int32_t height = reader.Target()->height;
    // More rows than the image has, and a width whose negation overflows.
    EXPECT_EQ(FilterImageReader::RowSink(rows.data(), 0, 0, height + 1, 1, 2, 0, &reader), 0);
    EXPECT_EQ(FilterImageReader::RowSink(rows.data(), 0, 0, 1, std::numeric_limits<std::int32_t>::min(), 2, 0,
                                         &reader),
              0);
    EXPECT_EQ(FilterImageReader::RowSink(rows.data(), 0, 0, 1, 1, 2, 0, &reader), 1);
}

TEST_F(NoModulesTest, ModuleWithoutItsEntryIsReleased) {
    FilterImageReader::SetModuleFolder(SVGFILTER_FAKE_MODULES);
    const std::string jpeg = Write("fake.jpg", std::string("\xFF\xD8\xFF\xC2\x00\x11", 6));
    FilterImageReader reader;
    EXPECT_EQ(reader.Open(jpeg, 0), 0);
    EXPECT_FALSE(reader.ModuleLoaded());
    EXPECT_FALSE(reader.Mapped());
}

TEST_F(NoModulesTest, FilesThatCannotBeMappedOrTold) {
    FilterImageReader reader;
    EXPECT_EQ(reader.Open((folder_ / "missing.png").string(), 0), 0);
    EXPECT_EQ(reader.Open(Write("empty.png", ""), 0), 0);
    EXPECT_EQ(reader.Open(Write("text.txt", "just some words"), 0), 0);
    EXPECT_FALSE(reader.Mapped());
}

TEST_F(NoModulesTest, GifWithoutImagesIsReportedCorrupt) {
    platform::RecordingMessageSink messages;
    {
        platform::ScopedMessageSink scoped(&messages);
        std::string gif = "GIF89a";
        gif += std::string("\x01\x00\x01\x00\x00\x00\x00;", 8);
        FilterImageReader reader;
        EXPECT_EQ(reader.Open(Write("empty.gif", gif), 0), 0);
    }
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_EQ(messages.entries[0].text, kCorruptGifMessage);
}

}  // namespace
}  // namespace imageload

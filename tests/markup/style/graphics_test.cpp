// The graphics back end over the fixed font back end (exact numbers), and
// over the system's fonts where the build has them.
#include "markup/style/graphics_imp.h"

#include <gtest/gtest.h>

#include <cstring>

#include "markup/faults.h"

namespace {

using namespace markup::style;
using platform::LogFont;

class GraphicsTest : public ::testing::Test {
  protected:
    platform::FixedFontBackend backend;
    GraphicsImp graphics{backend};
};

TEST_F(GraphicsTest, IsTheModulesWhileItLives) {
    EXPECT_EQ(Graphics::Shared(), &graphics);
    {
        platform::FixedFontBackend other;
        GraphicsImp inner(other);
        EXPECT_EQ(Graphics::Shared(), &inner);
    }
    EXPECT_EQ(Graphics::Shared(), nullptr);
}

TEST_F(GraphicsTest, FontSizeSteps) {
    // Pixels of 11 points lie between 10 and 12: the smaller step wins.
    EXPECT_EQ(graphics.FontSizeStep(11 * 96 / 72 + 1), 2);
    EXPECT_EQ(graphics.FontSizeStep(100 * 96 / 72), 7);
    EXPECT_EQ(graphics.FontSizeStep(0), 1);
    // Points are truncated: 13 pixels are 9.75 points, nearest step 1.
    EXPECT_EQ(graphics.FontSizeStep(13), 1);
    const std::int32_t pixels[7] = {10, 13, 16, 18, 24, 32, 48};
    for (std::int32_t step = 1; step <= 7; ++step) {
        EXPECT_EQ(graphics.FontSizePixels(step), pixels[step - 1]) << step;
        EXPECT_EQ(graphics.FontSizeLogical(step), pixels[step - 1]) << step;
    }
    EXPECT_EQ(graphics.FontSizePixels(0), 10);  // out of range: the nearest step
    EXPECT_EQ(graphics.FontSizePixels(99), 48);
}

TEST_F(GraphicsTest, UnitConstants) {
    EXPECT_EQ(graphics.InchesToUnits(3), 254);
    EXPECT_EQ(graphics.CentimetresToUnits(3), 100);
    EXPECT_EQ(graphics.MillimetresToUnits(3), 10);
    EXPECT_EQ(graphics.PointsToUnits(10), 11);
    EXPECT_EQ(graphics.PicasToUnits(1), 14);
    EXPECT_EQ(graphics.PixelsToUnits(7.9f), 7);
    EXPECT_EQ(graphics.ExsToUnits(1), 99);
    EXPECT_DOUBLE_EQ(graphics.HundredthsToMillimetres(250), 2.5);
    EXPECT_EQ(graphics.InchesToUnits(1e30f), 2147483647);  // stops at the range's end
}

TEST_F(GraphicsTest, CacheKeysAreWhatThePlatformMade) {
    const markup::String face("DejaVu Sans");
    Font* a = graphics.CreateFont(20, false, false, false, false, face);
    // The face in capitals is the same key.
    EXPECT_EQ(graphics.CreateFont(20, false, false, false, false, "DEJAVU SANS"), a);
    // A weight the platform rounds to regular makes the same font.
    LogFont light = a->Description();
    light.weight = 300;
    light.quality = 4;
    EXPECT_EQ(graphics.GetFont(light), a);
    // Heights -20 and -21 share a bucket and are told apart.
    Font* b = graphics.CreateFont(21, false, false, false, false, face);
    EXPECT_NE(a, b);
    EXPECT_EQ(GraphicsImp::BucketOf(a->Description()), GraphicsImp::BucketOf(b->Description()));
    // A face that cannot be made gives the default font.
    EXPECT_EQ(graphics.CreateFont(20, false, false, false, false, "No Such Face"), graphics.DefaultFont());
    EXPECT_STREQ(graphics.DefaultFont2()->Description().faceName, "DejaVu Serif");
    EXPECT_EQ(graphics.CreateFont(20, true, false, false, false, face)->Description().weight, 700);
}

// A request the back end answers with a font of another description, or
// with none, is answered from the cache the next time it comes (each
// element asks for its font).
TEST(GraphicsRequests, AskTheBackEndOnceEach) {
    struct Counting : platform::FixedFontBackend {
        platform::FontHandle CreateFont(const LogFont& request) override {
            ++made;
            return FixedFontBackend::CreateFont(request);
        }
        int made = 0;
    } backend;
    GraphicsImp graphics(backend);
    const markup::String face("DejaVu Sans");
    Font* regular = graphics.CreateFont(20, false, false, false, false, face);
    LogFont light = regular->Description();
    light.weight = 300;
    const int before = backend.made;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(graphics.GetFont(light), regular);
        EXPECT_EQ(graphics.CreateFont(20, false, false, false, false, "No Such Face"), graphics.DefaultFont());
    }
    EXPECT_EQ(backend.made, before + 2);
    graphics.ClearFontCache();  // the defaults are made again; the requests are asked anew
    EXPECT_EQ(graphics.CreateFont(20, false, false, false, false, "No Such Face"), graphics.DefaultFont());
    EXPECT_EQ(graphics.GetFont(light)->Description().weight, 400);
}

TEST_F(GraphicsTest, ClearingTheCacheKeepsTheDefaults) {
    graphics.CreateFont(30, false, true, false, false, "DejaVu Serif");
    const std::uint32_t live = backend.LiveFonts();
    graphics.ClearFontCache();
    EXPECT_LT(backend.LiveFonts(), live);
    EXPECT_NE(graphics.DefaultFont()->Handle(), 0u);
    EXPECT_EQ(graphics.TextExtent("ab", -1, nullptr).cx, 20);  // default font, size 20
}

TEST_F(GraphicsTest, FacesAndFamilies) {
    markup::String face;
    EXPECT_TRUE(graphics.FindFamilyFace(platform::kFamilyRoman, face));
    EXPECT_STREQ(face.Text(), "DejaVu Serif");
    EXPECT_TRUE(graphics.FindFamilyFace(platform::kFamilyModern | 1, face));
    EXPECT_STREQ(face.Text(), "DejaVu Sans Mono");
    EXPECT_FALSE(graphics.FindFamilyFace(platform::kFamilyScript, face));
    EXPECT_TRUE(face.IsEmpty());
    EXPECT_FALSE(graphics.FindFamilyFace(0, face));
    EXPECT_TRUE(graphics.HasFace("dejavu serif"));
    EXPECT_FALSE(graphics.HasFace("Arial"));
}

TEST_F(GraphicsTest, MeasuresAndOverhangs) {
    Font* font = graphics.CreateFont(16, false, false, false, false, "DejaVu Sans");
    const GraphicsSize size = graphics.TextExtent("Hello", 3, font);
    EXPECT_EQ(size.cx, 24);
    EXPECT_EQ(size.cy, 16);
    EXPECT_EQ(graphics.CurrentFont(), font);
    platform::TextMetrics metrics;
    ASSERT_TRUE(graphics.TextMetrics(font, metrics));
    EXPECT_EQ(metrics.ascent, 13);
    EXPECT_EQ(metrics.descent, 3);
    FontRequest request;
    request.size = 30;
    request.face = "DejaVu Sans";
    EXPECT_EQ(graphics.ItalicOverhang(request), 0);
    request.italic = true;
    EXPECT_EQ(graphics.ItalicOverhang(request), 6);  // 30 x 1 / 5
    request.size = 4;
    EXPECT_EQ(graphics.ItalicOverhang(request), 0);  // 4 / 5 is 0, and so is 4 / 6
}

TEST_F(GraphicsTest, HLSConversions) {
    EXPECT_EQ(graphics.RGBToHLS(0x808080), 170u | (128u << 8));  // grey: hue 170, no saturation
    EXPECT_EQ(graphics.HLSToRGB(10, 200, 0), 0xC8C8C8u);
    EXPECT_EQ(graphics.RGBToHLS(0x0000FF), 0u | (128u << 8) | (255u << 16));  // red
    EXPECT_EQ(graphics.HLSToRGB(0, 128, 255), 0x0101FFu);  // the integer steps leave 1 in green and blue
    EXPECT_EQ(graphics.RGBToHLS(0xFF0000) & 0xFF, 170u);  // blue
}

TEST_F(GraphicsTest, GeometryAndPaths) {
    const GraphicsRect handle = graphics.HandleRect(GraphicsRect{0, 0, 10, 20}, 3);
    EXPECT_EQ(handle.left, 8);
    EXPECT_EQ(handle.top, 8);
    EXPECT_EQ(handle.right, 12);
    EXPECT_EQ(handle.bottom, 12);
    EXPECT_EQ(graphics.HandleRect(GraphicsRect{0, 0, 10, 20}, 8).right, 0);
    EXPECT_EQ(graphics.Distance({0, 0}, {3, 4}), 5);
    EXPECT_EQ(graphics.Distance({0, 0}, {1, 1}), 1);
    DeviceContext dc;
    dc.font = graphics.CreateFont(10, false, false, false, false, "DejaVu Sans");  // 5 per byte
    EXPECT_STREQ(graphics.CompactPath("C:\\a\\bb\\ccc\\file.txt", GraphicsRect{0, 0, 90, 10}, dc).Text(),
                 "C:\\a\\...\\file.txt");
    EXPECT_STREQ(graphics.CompactPath("abcdefgh", GraphicsRect{0, 0, 20, 10}, dc).Text(), "abcd");
    EXPECT_STREQ(graphics.CompactPath("short", GraphicsRect{0, 0, 100, 10}, dc).Text(), "short");
    EXPECT_STREQ(graphics.CompactPath("\\\\\\\\", GraphicsRect{0, 0, 0, 10}, dc).Text(), "");
}

TEST_F(GraphicsTest, CursorsAndContexts) {
    graphics.SetSystemCursor(kCursorWait);
    EXPECT_EQ(graphics.CurrentCursor(), static_cast<std::uint32_t>(kCursorWait));
    EXPECT_THROW(graphics.SetSystemCursor(1), markup::InvalidArgumentFault);
    EXPECT_THROW(graphics.SetResourceCursor(100), markup::InvalidArgumentFault);
    EXPECT_EQ(graphics.GetDeviceContext().viewportExtent.cy, -1);
    EXPECT_EQ(graphics.GetScreenBitmap().width, 1024);
    graphics.ReleaseScreenBitmap();
    EXPECT_EQ(graphics.GetScreenBitmap().bitsPerPixel, 32);
    EXPECT_EQ(graphics.EdgeSize().cx, 2);
}

// The system's fonts: DejaVu Sans as fontconfig and FreeType give it.
TEST(SystemFonts, DejaVuSansMeasures) {
    if (!platform::SystemFontBackendIsReal()) GTEST_SKIP() << "no font library in this build";
    GraphicsImp graphics(platform::SystemFontBackend());
    Font* font = graphics.CreateFont(16, false, false, false, false, "DejaVu Sans");
    ASSERT_NE(font, nullptr);
    EXPECT_STREQ(font->Description().faceName, "DejaVu Sans");
    const GraphicsSize m = graphics.TextExtent("M", 1, font);
    EXPECT_NEAR(m.cx, 14, 1);  // 1767/2048 of the em
    platform::TextMetrics metrics;
    ASSERT_TRUE(graphics.TextMetrics(font, metrics));
    EXPECT_NEAR(metrics.ascent, 15, 1);  // 1901/2048
    EXPECT_NEAR(metrics.descent, 4, 1);  // 483/2048
    EXPECT_EQ(m.cy, metrics.ascent + metrics.descent);
    EXPECT_EQ(graphics.CreateFont(16, false, false, false, false, "No Such Face 123"), graphics.DefaultFont());
    markup::String face;
    ASSERT_TRUE(graphics.FindFamilyFace(platform::kFamilyRoman, face));
    EXPECT_NE(std::strstr(face.Text(), "Serif"), nullptr) << face.Text();
    ASSERT_TRUE(graphics.FindFamilyFace(platform::kFamilyModern, face));
    EXPECT_NE(std::strstr(face.Text(), "Mono"), nullptr) << face.Text();
    // The system's own sans face, not the first swiss face by name (a
    // math face sorts before it and has neither bold nor a sans design).
    ASSERT_TRUE(graphics.FindFamilyFace(platform::kFamilySwiss, face));
    EXPECT_STREQ(face.Text(), "DejaVu Sans");
    EXPECT_TRUE(graphics.HasFace(face));
    FontRequest italic;
    italic.size = 60;
    italic.italic = true;
    italic.face = "DejaVu Sans";
    EXPECT_GT(graphics.ItalicOverhang(italic), 0);
}

// Fonts of one face share what FreeType read of its file, each at its own
// size: one measures alike before and after another was made, used and
// destroyed.
TEST(SystemFonts, FontsOfOneFaceKeepTheirOwnSizes) {
    if (!platform::SystemFontBackendIsReal()) GTEST_SKIP() << "no font library in this build";
    platform::FontBackend& backend = platform::SystemFontBackend();
    const auto make = [&](std::int32_t height) {
        platform::LogFont request;
        request.height = height;
        request.weight = 400;
        request.SetFaceName("DejaVu Sans");
        return backend.CreateFont(request);
    };
    const auto width = [&](platform::FontHandle font) {
        platform::TextSize size;
        EXPECT_TRUE(backend.TextExtent(font, "MMMM", 4, size));
        return size.cx;
    };
    const platform::FontHandle small = make(-20);
    ASSERT_NE(small, 0u);
    const std::int32_t before = width(small);
    const platform::FontHandle large = make(-40);
    ASSERT_NE(large, 0u);
    EXPECT_NEAR(width(large), 2 * before, 4);
    EXPECT_EQ(width(small), before);
    platform::TextMetrics metrics;
    ASSERT_TRUE(backend.Metrics(small, metrics));
    EXPECT_NEAR(metrics.ascent, 19, 1);  // 1901/2048 of 20
    backend.DestroyFont(large);
    EXPECT_EQ(width(small), before);
    backend.DestroyFont(small);
}

// Each face is found once and kept: a second request, in another case,
// size or weight, gets the same face as fontconfig names it; a face the
// system lacks is refused every time.
TEST(SystemFonts, FacesAreFoundAlikeWhateverTheRequest) {
    if (!platform::SystemFontBackendIsReal()) GTEST_SKIP() << "no font library in this build";
    platform::FontBackend& backend = platform::SystemFontBackend();
    struct Case {
        const char* face;
        std::int32_t height;
        std::int32_t weight;
        const char* found;  // null: refused
        std::int32_t foundWeight;
    };
    const Case cases[] = {
        {"DejaVu Sans", -20, 400, "DejaVu Sans", 400}, {"dejavu sans", -40, 400, "DejaVu Sans", 400},
        {"DEJAVU SANS", -20, 700, "DejaVu Sans", 700}, {"DejaVu Sans", -20, 700, "DejaVu Sans", 700},
        {"No Such Face 123", -20, 400, nullptr, 0},    {"No Such Face 123", -20, 400, nullptr, 0},
    };
    for (const Case& c : cases) {
        platform::LogFont request;
        request.height = c.height;
        request.weight = c.weight;
        request.SetFaceName(c.face);
        const platform::FontHandle font = backend.CreateFont(request);
        if (c.found == nullptr) {
            EXPECT_EQ(font, 0u) << c.face;
            continue;
        }
        ASSERT_NE(font, 0u) << c.face;
        platform::LogFont made;
        ASSERT_TRUE(backend.DescribeFont(font, made));
        EXPECT_STREQ(made.faceName, c.found) << c.face;
        EXPECT_EQ(made.weight, c.foundWeight) << c.face;
        EXPECT_EQ(made.height, c.height) << c.face;
        backend.DestroyFont(font);
    }
}

}  // namespace

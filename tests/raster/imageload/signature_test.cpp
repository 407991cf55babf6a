// Format detection over hand-made first bytes, and by file name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imageload/filter_image_reader.h"

namespace imageload {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes B(std::initializer_list<int> values) {
    Bytes out;
    for (int v : values) out.push_back(static_cast<std::uint8_t>(v));
    return out;
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes Cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Pad(Bytes a, std::size_t size) {
    a.resize(size, 0);
    return a;
}

// A JPEG start of frame with n components after an APP0 and a comment.
Bytes Jpeg(int frameMarker, int components, bool startOfImage = true) {
    Bytes b = startOfImage ? B({0xFF, 0xD8}) : Bytes{};
    b = Cat(b, B({0xFF, 0xE0, 0x00, 0x06, 'J', 'F', 'I', 'F'}));    // APP0, length 6
    b = Cat(b, B({0xFF, 0xFE, 0x00, 0x04, 'h', 'i'}));              // comment
    b = Cat(b, B({0xFF, 0xD0}));                                    // restart marker
    b = Cat(b, B({0xFF, frameMarker, 0x00, 0x11, 8, 0, 2, 0, 3, components, 1, 0x11, 0}));
    return b;
}

Bytes GifHead(bool globalTable) {
    Bytes b = Cat(Text("GIF89a"), B({4, 0, 4, 0, globalTable ? 0x80 : 0x00, 0, 0}));
    if (globalTable) b = Cat(b, B({0, 0, 0, 255, 255, 255}));  // 2 entries
    return b;
}

Bytes GifWithImages(int images) {
    Bytes b = GifHead(true);
    b = Cat(b, B({'!', 0xF9, 4, 1, 0, 0, 0, 0}));  // graphic control
    b = Cat(b, B({'!', 0xFE, 2, 'h', 'i', 0}));    // comment
    for (int i = 0; i < images; ++i) b = Cat(b, B({',', 0, 0, 0, 0, 4, 0, 4, 0, 0, 2, 2, 0x4C, 0x01, 0}));
    return Cat(b, B({';'}));
}

Bytes TiffHeader(bool little) { return little ? B({'I', 'I', 0x2A, 0, 8, 0, 0, 0}) : B({'M', 'M', 0, 0x2A, 0, 0, 0, 8}); }

struct SignatureCase {
    const char* name;
    Bytes bytes;
    std::uint32_t format;
};

class SignatureTest : public ::testing::TestWithParam<SignatureCase> {};

TEST_P(SignatureTest, DetectsTheFormat) {
    EXPECT_EQ(DetectFormatBySignature(GetParam().bytes), GetParam().format);
}

INSTANTIATE_TEST_SUITE_P(
    HandMade, SignatureTest,
    ::testing::Values(
        SignatureCase{"bmp_header", Cat(Pad(Text("BM"), 14), B({40, 0})), kFormatBmp},
        SignatureCase{"bmp_core_header", Cat(Pad(Text("BM"), 14), B({12, 0})), 0},
        SignatureCase{"bmp_too_short", Cat(Pad(Text("BM"), 14), B({40})), 0},
        SignatureCase{"pcx", B({10, 5, 1, 8}), kFormatPcx},
        SignatureCase{"pcx_bad_version", B({10, 4, 1, 8}), 0},
        SignatureCase{"tga", B({0, 0, 2, 0}), kFormatTga},
        SignatureCase{"tga_colour_map_kind_2", B({0, 2, 2, 0}), 0},
        SignatureCase{"tiff_ii", Pad(TiffHeader(true), 18), kFormatTiff},
        SignatureCase{"tiff_mm", Pad(TiffHeader(false), 18), kFormatTiff},
        SignatureCase{"tiff_3df", Cat(TiffHeader(true), Text("3DF.xxxxxx")), 0},
        SignatureCase{"tiff_gravenplot_is_jpeg", Cat(TiffHeader(false), Text("Gravenplot")), kFormatJpeg},
        SignatureCase{"jpeg_baseline_grey", Jpeg(0xC0, 1), kFormatJpeg},
        SignatureCase{"jpeg_baseline_rgb", Jpeg(0xC0, 3), kFormatJpeg},
        SignatureCase{"jpeg_baseline_cmyk", Jpeg(0xC0, 4), kFormatJpeg},
        SignatureCase{"jpeg_baseline_two_components", Jpeg(0xC0, 2), 0},
        SignatureCase{"jpeg_baseline_without_start", Jpeg(0xC0, 3, false), 0},
        SignatureCase{"jpeg_progressive", Jpeg(0xC2, 3), kFormatJpeg},
        SignatureCase{"jpeg_progressive_without_start", Jpeg(0xC2, 2, false), kFormatJpeg},
        SignatureCase{"jpeg_end_clears_start", Cat(B({0xFF, 0xD8, 0xFF, 0xD9}), Jpeg(0xC0, 3, false)), 0},
        SignatureCase{"jpeg_scan_before_frame", B({0xFF, 0xD8, 0xFF, 0xDA, 0, 2}), 0},
        SignatureCase{"jpeg_cut_in_segment", B({0xFF, 0xD8, 0xFF, 0xE1, 0x40, 0}), 0},
        SignatureCase{"gif_one_image", GifWithImages(1), kFormatGif},
        SignatureCase{"gif_no_image", GifWithImages(0), 0},
        SignatureCase{"gif_unknown_extension_ends_walk", Cat(Cat(GifHead(true), B({'!', 0x77, 0})), GifWithImages(1)), 0},
        SignatureCase{"png", B({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}), kFormatPng},
        SignatureCase{"png_cut", B({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A}), 0},
        SignatureCase{"avi", Cat(Text("RIFF"), Cat(B({0, 0, 0, 0}), Text("AVI "))), kFormatAvi},
        SignatureCase{"wave_is_not_avi", Cat(Text("RIFF"), Cat(B({0, 0, 0, 0}), Text("WAVE"))), 0},
        SignatureCase{"wavelet_text", Cat(Text("TVXWAV"), B({0})), kFormatWavelet},
        SignatureCase{"wavelet_si", Pad(B({'S', 'I', 3}), 7), kFormatWavelet},
        SignatureCase{"wavelet_wi", Pad(B({'W', 'I', 4}), 7), kFormatWavelet},
        SignatureCase{"wavelet_short", B({'W', 'I', 4}), 0},
        SignatureCase{"empty", Bytes{}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SignatureTest, GifWalkCountsImagesPastLocalTables) {
    Bytes b = GifHead(false);
    // An image with a local table of 4 entries, then a second image.
    b = Cat(b, B({',', 0, 0, 0, 0, 1, 0, 1, 0, 0x81, 0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 2, 1, 0x44, 0}));
    b = Cat(b, B({',', 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 1, 0x44, 0, ';'}));
    EXPECT_EQ(CountGifImages(b), 2);
    EXPECT_EQ(CountGifImages(GifWithImages(3)), 3);
}

TEST(SignatureTest, ExtensionsAreCheckedByTheirOwnRule) {
    const Bytes png = B({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A});
    // A PNG named .bmp fails the BMP check and is left to the signatures.
    EXPECT_EQ(DetectFormatByExtension("picture.bmp", png), 0u);
    EXPECT_EQ(DetectFormatBySignature(png), kFormatPng);
    EXPECT_EQ(DetectFormatByExtension("scan.Vrm", Pad(TiffHeader(true), 18)), kFormatTiff);
    EXPECT_EQ(DetectFormatByExtension("PHOTO.PnG", png), kFormatPng);
    EXPECT_EQ(DetectFormatByExtension("noextension", png), 0u);
    bool corrupt = false;
    EXPECT_EQ(DetectFormatByExtension("anim.gif", GifWithImages(0), &corrupt), 0u);
    EXPECT_TRUE(corrupt);
}

TEST(SignatureTest, ModulesAreNamedByFormat) {
    EXPECT_STREQ(ModuleFileForFormat(kFormatPng), "ZKPNG.flt");
    EXPECT_STREQ(ModuleFileForFormat(kFormatAnimatedGif), "ZKGIF.flt");
    EXPECT_STREQ(ModuleFileForFormat(kFormatTiff), "ZKTIF.flt");
    EXPECT_EQ(ModuleFileForFormat(775), nullptr);
}

}  // namespace
}  // namespace imageload

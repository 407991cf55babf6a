// Writing and reading back PNG, JPEG and GIF files at every depth the host
// offers, and refusing broken files with a message instead of crashing.
#include "host/media/image_codec.h"

#include <gif_lib.h>

#include <array>
#include <cstring>
#include <optional>

#include "media_fixtures.h"

namespace {

using host::media::DecodeImageFile;
using host::media::Image;
using host::media::ImageFormat;
using host::media::Status;
using host::media::WriteImageFile;
using host::media::WriteOptions;
using namespace media_test;

Image GreyGradient(uint32_t w, uint32_t h) {
    Image image = Gradient(w, h);
    for (size_t i = 0; i < image.rgba.size(); i += 4) {
        const uint8_t v = host::media::Luma(image.rgba[i], image.rgba[i + 1], image.rgba[i + 2]);
        image.rgba[i] = image.rgba[i + 1] = image.rgba[i + 2] = v;
    }
    return image;
}

struct RoundTrip {
    const char* name;
    ImageFormat format;
    uint32_t bits;
    bool paletted;
    Image (*make)(uint32_t, uint32_t);
    uint32_t sourceType;  // what the written file reads back as
    double maxError;      // mean per channel; 0 for an exact copy
    size_t maxColours;    // 0 for no limit
};

const RoundTrip kRoundTrips[] = {
    {"png_rgba32", ImageFormat::kPng, 32, false, WithAlpha, svgf::kSourceRgba, 0, 0},
    {"png_rgb24", ImageFormat::kPng, 24, false, Gradient, svgf::kSourceRgb, 0, 0},
    {"png_rgb24_over_white", ImageFormat::kPng, 24, false, WithAlpha, svgf::kSourceRgb, 0, 0},
    {"png_grey8", ImageFormat::kPng, 8, false, GreyGradient, svgf::kSourceGrey, 0, 0},
    {"png_grey4", ImageFormat::kPng, 4, false, GreySteps, svgf::kSourceGrey4, 0, 16},
    {"png_grey1", ImageFormat::kPng, 1, false, Checker, svgf::kSourceBilevel, 0, 2},
    {"png_palette8", ImageFormat::kPng, 8, true, Quarters, svgf::kSourcePaletted, 0, 4},
    {"png_palette1", ImageFormat::kPng, 1, true, Checker, svgf::kSourcePaletted, 0, 2},
    {"png_palette4_reduced", ImageFormat::kPng, 4, true, Gradient, svgf::kSourcePaletted, 20, 16},
    {"jpeg_rgb24", ImageFormat::kJpeg, 24, false, Gradient, svgf::kSourceRgb, 3, 0},
    {"jpeg_grey8", ImageFormat::kJpeg, 8, false, GreyGradient, svgf::kSourceGrey, 2, 0},
    {"jpeg_cmyk32", ImageFormat::kJpeg, 32, false, Gradient, svgf::kSourceCmyk, 4, 0},
    {"jpeg_palette8", ImageFormat::kJpeg, 8, true, Gradient, svgf::kSourceRgb, 8, 0},
    {"gif8_exact", ImageFormat::kGif, 8, false, Quarters, svgf::kSourcePaletted, 0, 4},
    {"gif8_reduced", ImageFormat::kGif, 8, false, Gradient, svgf::kSourcePaletted, 5, 256},
    {"gif4_reduced", ImageFormat::kGif, 4, false, Gradient, svgf::kSourcePaletted, 20, 16},
    {"gif1", ImageFormat::kGif, 1, true, Checker, svgf::kSourcePaletted, 0, 2},
};

void PrintTo(const RoundTrip& c, std::ostream* os) {
    *os << c.name;
}

class RoundTripTest : public testing::TestWithParam<RoundTrip> {};

TEST_P(RoundTripTest, ReadsBackWhatWasWritten) {
    const RoundTrip& c = GetParam();
    TempFolder folder;
    const Image original = c.make(40, 30);
    const std::string path = WriteFixture(folder, c.name, original, c.format, c.bits, c.paletted);

    Image decoded;
    const Status status = DecodeImageFile(path, decoded);
    ASSERT_TRUE(status) << status.message();
    EXPECT_EQ(decoded.width, 40u);
    EXPECT_EQ(decoded.height, 30u);
    EXPECT_EQ(decoded.sourceType, c.sourceType);
    if (c.maxError == 0 && c.bits == 32) {
        EXPECT_EQ(decoded.rgba, original.rgba);
    } else {
        EXPECT_LE(MeanError(decoded, original), c.maxError);
    }
    if (c.maxColours) {
        EXPECT_LE(Colours(decoded).size(), c.maxColours);
    }
    if (c.format == ImageFormat::kGif || c.paletted) {
        const size_t limit = size_t{1} << (c.format == ImageFormat::kJpeg ? 8 : c.bits);
        if (c.format != ImageFormat::kJpeg) {
            EXPECT_FALSE(decoded.palette.empty());
            EXPECT_LE(decoded.palette.size(), std::max<size_t>(limit, 2));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryDepth, RoundTripTest, testing::ValuesIn(kRoundTrips),
                         [](const testing::TestParamInfo<RoundTrip>& info) { return info.param.name; });

TEST(ImageWrite, KeepsTheImagesOwnPaletteWhenAsked) {
    TempFolder folder;
    Image image = Quarters(16, 16);
    // An unsorted palette with a spare entry: kept as it is, not rebuilt.
    image.palette = {{250, 220, 10}, {0, 0, 0}, {30, 60, 220}, {20, 160, 60}, {200, 30, 40}};
    for (ImageFormat format : {ImageFormat::kPng, ImageFormat::kGif}) {
        const std::string path = WriteFixture(folder, "own", image, format, 8, true);
        Image decoded;
        ASSERT_TRUE(DecodeImageFile(path, decoded));
        ASSERT_GE(decoded.palette.size(), image.palette.size());
        EXPECT_TRUE(std::equal(image.palette.begin(), image.palette.end(), decoded.palette.begin()));
        EXPECT_EQ(MeanError(decoded, image), 0);
    }
}

TEST(ImageWrite, WritesTheResolution) {
    TempFolder folder;
    const Image image = Quarters(8, 8);
    WriteOptions options;
    options.dotsPerInch = 72;
    for (ImageFormat format : {ImageFormat::kPng, ImageFormat::kJpeg}) {
        options.format = format;
        const std::string path = folder / "dpi";
        ASSERT_TRUE(WriteImageFile(path, image, options));
        const std::vector<uint8_t> bytes = ReadBytes(path);
        const std::string text(bytes.begin(), bytes.end());
        if (format == ImageFormat::kPng) {
            // pHYs: 2835 dots a metre both ways, unit metre.
            const auto at = text.find("pHYs");
            ASSERT_NE(at, std::string::npos);
            EXPECT_EQ(text.substr(at + 4, 9), std::string("\0\0\x0b\x13\0\0\x0b\x13\x01", 9));
        } else {
            // JFIF: unit dots per inch, 72 by 72.
            const auto at = text.find("JFIF");
            ASSERT_NE(at, std::string::npos);
            EXPECT_EQ(text.substr(at + 7, 5), std::string("\x01\0\x48\0\x48", 5));
        }
    }
}

TEST(ImageWrite, RefusesDepthsTheFormatCannotHold) {
    TempFolder folder;
    const Image image = Quarters(8, 8);
    const std::array<std::pair<ImageFormat, uint32_t>, 6> refused = {{{ImageFormat::kGif, 24},
                                                                      {ImageFormat::kGif, 0},
                                                                      {ImageFormat::kJpeg, 4},
                                                                      {ImageFormat::kJpeg, 1},
                                                                      {ImageFormat::kPng, 16},
                                                                      {ImageFormat::kPng, 0}}};
    for (const auto& [format, bits] : refused) {
        WriteOptions options;
        options.format = format;
        options.bitsPerPixel = bits;
        const Status status = WriteImageFile(folder / "refused", image, options);
        EXPECT_FALSE(status) << host::media::FormatName(format) << " " << bits;
        EXPECT_NE(status.message().find("cannot be written"), std::string::npos) << status.message();
    }
    EXPECT_TRUE(folder.Files().empty());
}

TEST(ImageWrite, FailureLeavesNoFileAndKeepsAnOldOne) {
    TempFolder folder;
    WriteOptions options;
    EXPECT_FALSE(WriteImageFile(folder / "missing/out.png", Quarters(8, 8), options));
    EXPECT_FALSE(WriteImageFile(folder / "empty.png", Image{}, options));
    EXPECT_TRUE(folder.Files().empty());

    const std::string path = WriteFixture(folder, "old.png", Quarters(8, 8), ImageFormat::kPng, 24);
    const std::vector<uint8_t> before = ReadBytes(path);
    options.bitsPerPixel = 13;
    EXPECT_FALSE(WriteImageFile(path, Gradient(8, 8), options));
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(folder.Files(), std::set<std::string>{"old.png"});
}

// CRC of a PNG chunk's type and data.
uint32_t Crc32(const uint8_t* data, size_t size) {
    uint32_t crc = 0xffffffffu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

void PutBig32(uint8_t* at, uint32_t v) {
    at[0] = uint8_t(v >> 24);
    at[1] = uint8_t(v >> 16);
    at[2] = uint8_t(v >> 8);
    at[3] = uint8_t(v);
}

struct BrokenFile {
    const char* name;
    std::optional<std::vector<uint8_t>> (*make)(const TempFolder&);  // nullopt: no file at all
    const char* message;                                             // part of the expected message
};

std::optional<std::vector<uint8_t>> Half(const TempFolder& folder, ImageFormat format) {
    std::vector<uint8_t> bytes = ReadBytes(WriteFixture(folder, "whole", Gradient(64, 64), format, 8));
    bytes.resize(bytes.size() / 2);
    return bytes;
}

const BrokenFile kBroken[] = {
    {"missing", [](const TempFolder&) -> std::optional<std::vector<uint8_t>> { return std::nullopt; },
     "cannot open"},
    {"empty", [](const TempFolder&) -> std::optional<std::vector<uint8_t>> { return std::vector<uint8_t>{}; },
     "empty"},
    {"text",
     [](const TempFolder&) -> std::optional<std::vector<uint8_t>> {
         return std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o'};
     },
     "not a PNG, JPEG or GIF"},
    {"png_truncated", [](const TempFolder& f) { return Half(f, ImageFormat::kPng); },
     "PNG data is not readable"},
    {"jpeg_truncated", [](const TempFolder& f) { return Half(f, ImageFormat::kJpeg); },
     "JPEG data is not readable"},
    {"gif_truncated", [](const TempFolder& f) { return Half(f, ImageFormat::kGif); },
     "GIF data is not readable"},
    // The scan ends at the end-of-image marker halfway: the rest would be grey.
    {"jpeg_scan_cut_by_a_marker",
     [](const TempFolder& f) {
         auto bytes = Half(f, ImageFormat::kJpeg);
         bytes->insert(bytes->end(), {0xff, 0xd9});
         return bytes;
     },
     "JPEG data is not readable"},
    {"png_bad_crc",
     [](const TempFolder& f) -> std::optional<std::vector<uint8_t>> {
         auto bytes = ReadBytes(WriteFixture(f, "whole", Gradient(64, 64), ImageFormat::kPng, 24));
         bytes[bytes.size() / 2] ^= 0x55;
         return bytes;
     },
     "PNG data is not readable"},
    {"png_too_large",
     [](const TempFolder& f) -> std::optional<std::vector<uint8_t>> {
         auto bytes = ReadBytes(WriteFixture(f, "whole", Gradient(8, 8), ImageFormat::kPng, 24));
         // IHDR data starts at 16; claim 30000 x 30000 with a correct CRC.
         PutBig32(&bytes[16], 30000);
         PutBig32(&bytes[20], 30000);
         PutBig32(&bytes[29], Crc32(&bytes[12], 17));
         return bytes;
     },
     "outside the supported range"},
    {"jpeg_too_large",
     [](const TempFolder& f) -> std::optional<std::vector<uint8_t>> {
         auto bytes = ReadBytes(WriteFixture(f, "whole", Gradient(8, 8), ImageFormat::kJpeg, 24));
         for (size_t i = 0; i + 8 < bytes.size(); ++i) {
             if (bytes[i] == 0xff && bytes[i + 1] == 0xc0) {  // frame header: height, width
                 bytes[i + 5] = bytes[i + 7] = 0xfd;
                 bytes[i + 6] = bytes[i + 8] = 0xe8;
                 break;
             }
         }
         return bytes;
     },
     "outside the supported range"},
    {"gif_too_large",
     [](const TempFolder&) -> std::optional<std::vector<uint8_t>> {
         // Screen and frame of 65535 x 65535 and no pixel data.
         return std::vector<uint8_t>{'G', 'I', 'F',  '8',  '9',  'a',  0xff, 0xff, 0xff, 0xff, 0x80,
                                     0,   0,   0,    0,    0,    255,  255,  255,  ',',  0,    0,
                                     0,   0,   0xff, 0xff, 0xff, 0xff, 0,    2,    0,    ';'};
     },
     "outside the supported range"},
    {"gif_no_image",
     [](const TempFolder&) -> std::optional<std::vector<uint8_t>> {
         return std::vector<uint8_t>{'G',  'I', 'F', '8', '9', 'a', 1,   0,   1,   0,
                                     0x80, 0,   0,   0,   0,   0,   255, 255, 255, ';'};
     },
     "no image"},
};

void PrintTo(const BrokenFile& c, std::ostream* os) {
    *os << c.name;
}

class BrokenFileTest : public testing::TestWithParam<BrokenFile> {};

TEST_P(BrokenFileTest, IsRefusedWithAMessage) {
    TempFolder folder;
    const std::string path = folder / GetParam().name;
    if (const auto bytes = GetParam().make(folder)) WriteBytes(path, *bytes);
    Image image = Quarters(4, 4);
    const Status status = DecodeImageFile(path, image);
    EXPECT_FALSE(status);
    EXPECT_NE(status.message().find(path), std::string::npos) << status.message();
    EXPECT_NE(status.message().find(GetParam().message), std::string::npos) << status.message();
    EXPECT_TRUE(image.empty());
    EXPECT_TRUE(image.rgba.empty());
}

INSTANTIATE_TEST_SUITE_P(Files, BrokenFileTest, testing::ValuesIn(kBroken),
                         [](const testing::TestParamInfo<BrokenFile>& info) { return info.param.name; });

// Interlaced rows come in four passes; a transparent index becomes alpha 0.
TEST(GifRead, DeinterlacesAndHonoursTransparency) {
    TempFolder folder;
    const std::string path = folder / "interlaced.gif";
    constexpr int kW = 3, kH = 11;
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    ASSERT_NE(gif, nullptr);
    GifColorType colours[4] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    ColorMapObject* map = GifMakeMapObject(4, colours);
    EGifSetGifVersion(gif, true);
    ASSERT_EQ(EGifPutScreenDesc(gif, kW, kH, 2, 0, map), GIF_OK);
    GraphicsControlBlock control{};
    control.TransparentColor = 0;
    GifByteType extension[4];
    const size_t length = EGifGCBToExtension(&control, extension);
    ASSERT_EQ(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), extension), GIF_OK);
    ASSERT_EQ(EGifPutImageDesc(gif, 0, 0, kW, kH, true, nullptr), GIF_OK);
    // Row y holds index y % 4 (row 0, 4, 8 transparent), sent in pass order.
    for (int pass : {0, 1, 2, 3}) {
        static constexpr int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
        for (int y = kStart[pass]; y < kH; y += kStep[pass]) {
            GifPixelType line[kW] = {GifPixelType(y % 4), GifPixelType(y % 4), GifPixelType(y % 4)};
            ASSERT_EQ(EGifPutLine(gif, line, kW), GIF_OK);
        }
    }
    ASSERT_EQ(EGifCloseFile(gif, &error), GIF_OK);
    GifFreeMapObject(map);

    Image image;
    const Status status = DecodeImageFile(path, image);
    ASSERT_TRUE(status) << status.message();
    ASSERT_EQ(image.height, uint32_t(kH));
    for (uint32_t y = 0; y < kH; ++y) {
        const uint8_t* p = image.pixel(1, y);
        const int index = y % 4;
        EXPECT_EQ(p[3], index == 0 ? 0 : 255) << y;
        if (index) {
            EXPECT_EQ(p[0], colours[index].Red) << y;
            EXPECT_EQ(p[1], colours[index].Green) << y;
            EXPECT_EQ(p[2], colours[index].Blue) << y;
        }
    }
    EXPECT_EQ(image.palette.size(), 4u);
}

}  // namespace

namespace {

// Damaged copies of good files, made from a fixed seed: every one must come
// back as an image or as a message, never as a crash (the sanitizer build
// watches the decoders' memory use here).
TEST(DamagedFiles, DecodeOrFailCleanly) {
    TempFolder folder;
    const std::pair<ImageFormat, uint32_t> kinds[] = {
        {ImageFormat::kPng, 24}, {ImageFormat::kPng, 4}, {ImageFormat::kJpeg, 24}, {ImageFormat::kGif, 8}};
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    const std::string damaged = folder / "damaged";
    for (const auto& [format, bits] : kinds) {
        const std::vector<uint8_t> good =
            ReadBytes(WriteFixture(folder, "good", Gradient(24, 16), format, bits, bits == 4));
        for (int round = 0; round < 150; ++round) {
            std::vector<uint8_t> bytes = good;
            if (round % 5 == 0) {
                bytes.resize(next() % bytes.size());
            } else {
                for (uint32_t n = 1 + next() % 4; n > 0; --n)
                    bytes[next() % bytes.size()] ^= uint8_t(1 + next() % 255);
            }
            WriteBytes(damaged, bytes);
            Image image;
            const Status status = DecodeImageFile(damaged, image);
            if (status) {
                EXPECT_FALSE(image.empty());
                EXPECT_EQ(image.rgba.size(), size_t{image.width} * image.height * 4);
            } else {
                EXPECT_TRUE(image.empty());
                EXPECT_FALSE(status.message().empty());
            }
        }
    }
}

TEST(ImageRead, AFolderIsNotAnImage) {
    TempFolder folder;
    Image image;
    const Status status = DecodeImageFile(folder.path(), image);
    EXPECT_FALSE(status);
    EXPECT_NE(status.message().find("cannot"), std::string::npos) << status.message();
}

}  // namespace

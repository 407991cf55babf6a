// Files the host writes must open in other readers too: each is placed in
// an SVG document rendered by rsvg-convert (librsvg, whose image loaders are
// gdk-pixbuf's), and the rendering is checked where each image lies.
#include <cstdlib>
#include <fstream>

#include "host/media/image_codec.h"
#include "media_fixtures.h"

namespace {

using host::media::Image;
using host::media::ImageFormat;
using namespace media_test;

Image BlackAndWhite(uint32_t w, uint32_t h) {
    Image image = Quarters(w, h);
    for (size_t i = 0; i < image.rgba.size(); i += 4) {
        const uint8_t v = (i / 4 % w < w / 2) ? 0 : 255;
        image.rgba[i] = image.rgba[i + 1] = image.rgba[i + 2] = v;
    }
    return image;
}

struct Variant {
    const char* file;
    ImageFormat format;
    uint32_t bits;
    bool paletted;
    Image (*make)(uint32_t, uint32_t);
    bool grey;
};

const Variant kVariants[] = {
    {"rgba.png", ImageFormat::kPng, 32, false, Quarters, false},
    {"rgb.png", ImageFormat::kPng, 24, false, Quarters, false},
    {"grey.png", ImageFormat::kPng, 8, false, Quarters, true},
    {"palette8.png", ImageFormat::kPng, 8, true, Quarters, false},
    {"palette2.png", ImageFormat::kPng, 2, true, Quarters, false},
    {"bilevel.png", ImageFormat::kPng, 1, false, BlackAndWhite, false},
    {"rgb.jpg", ImageFormat::kJpeg, 24, false, Quarters, false},
    {"cmyk.jpg", ImageFormat::kJpeg, 32, false, Quarters, false},
    {"grey.jpg", ImageFormat::kJpeg, 8, false, Quarters, true},
    {"palette.jpg", ImageFormat::kJpeg, 8, true, Quarters, false},
    {"colours8.gif", ImageFormat::kGif, 8, false, Quarters, false},
    {"colours2.gif", ImageFormat::kGif, 2, false, Quarters, false},
    {"bilevel.gif", ImageFormat::kGif, 1, true, BlackAndWhite, false},
};

TEST(OtherReaders, RenderEveryKindOfFileTheHostWrites) {
    if (std::system("rsvg-convert --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "rsvg-convert is not installed";
    TempFolder folder;
    constexpr int kSize = 40, kCell = 60;
    const int count = static_cast<int>(std::size(kVariants));
    std::ofstream svg(folder / "sheet.svg");
    svg << "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' width='"
        << count * kCell << "' height='" << kCell << "'>";
    for (int i = 0; i < count; ++i) {
        const Variant& v = kVariants[i];
        WriteFixture(folder, v.file, v.make(kSize, kSize), v.format, v.bits, v.paletted);
        svg << "<image xlink:href='" << v.file << "' x='" << i * kCell << "' y='0' width='" << kSize
            << "' height='" << kSize << "' preserveAspectRatio='none'/>";
    }
    svg << "</svg>";
    svg.close();
    const std::string command =
        "rsvg-convert -b white -o '" + (folder / "sheet.png") + "' '" + (folder / "sheet.svg") + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    Image sheet;
    const host::media::Status status = host::media::DecodeImageFile(folder / "sheet.png", sheet);
    ASSERT_TRUE(status) << status.message();
    for (int i = 0; i < count; ++i) {
        const Variant& v = kVariants[i];
        const Image original = v.make(kSize, kSize);
        for (uint32_t y : {10u, 30u}) {
            for (uint32_t x : {10u, 30u}) {
                auto want = host::media::OverWhite(original.pixel(x, y));
                if (v.grey) want.r = want.g = want.b = host::media::Luma(want.r, want.g, want.b);
                const uint8_t* got = sheet.pixel(i * kCell + x, y);
                EXPECT_NEAR(got[0], want.r, 8) << v.file << " at " << x << "," << y;
                EXPECT_NEAR(got[1], want.g, 8) << v.file << " at " << x << "," << y;
                EXPECT_NEAR(got[2], want.b, 8) << v.file << " at " << x << "," << y;
            }
        }
    }
}

}  // namespace

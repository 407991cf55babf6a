// The import side's services on real fonts and images: fonts by name, text
// objects whose advances are the fonts' own, linked pictures through the
// host's image import and the module's load callback; and a scene drawn as
// the module draws it, described, exported by the module and rendered: it
// looks like the SVG that says the same.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "host/drawing_export.h"
#include "host/drawing_reader.h"
#include "host/import/import_host.h"
#include "host/media/font_library.h"
#include "host/media/image_codec.h"
#include "host/media/media_fonts.h"
#include "host/media/stand_in_images.h"
#include "host/module_loader.h"
#include "import_calls.h"
#include "media_fixtures.h"

namespace {

using host::import::ImportHost;
using namespace import_test;
using svgf::HostWord;
namespace svc = svgf::svc;

constexpr int32_t kInch = 254000;

// The module's side of a linked image: asks service 0x354 for what the
// drawing's image entry takes, and keeps it with the fourth argument.
int32_t SVGF_CALL LoadCallback(svgf::HostImageCallbackBlock* block, HostWord, HostWord picture, HostWord word,
                               HostWord, HostWord, HostWord, HostWord, HostWord) {
    const auto load = svgf::service<svc::ImageLoadFn>(block->services, svc::kImageLoad);
    block->result1 = load != nullptr ? load(picture) : 0;
    block->result2 = word;
    return 0;
}

class ImportMedia : public ::testing::Test {
  protected:
    void SetUp() override {
        if (host.Fonts() == nullptr) GTEST_SKIP() << "no fonts";
    }

    template <typename F>
    void AsModule(F&& f) {
        host.Report([&] {
            f();
            return 0;
        });
    }

    // A linked picture loaded the way the import loads one; the picture, or
    // 0. The image handle is released unless `keepHandle`.
    HostWord LoadImage(const std::string& path, uint32_t format, bool keepHandle = false) {
        svgf::FilterContext sub{};
        sub.size = svgf::kContextSize;
        sub.flags = svgf::kSubContextImageFlags;
        sub.subWord12 = 1;
        sub.subWord180 = 1;
        sub.services = host.Context().services;
        std::string name = path;
        sub.fileName = name.data();
        sub.formatCode = format;
        if (calls.Service<svc::SubContextFn>(svc::kImportSubContext8)(&sub) == 0) return 0;
        svgf::HostImageCallbackBlock block{};
        block.services = host.Context().services;
        block.callback = &LoadCallback;
        sub.hostHandle = calls.Service<svc::OpenImageHandleFn>(svc::kOpenImageHandle)(svgf::kImageHandleKind, &block);
        if (sub.hostHandle == 0) return 0;
        const int32_t loaded = calls.Service<svc::SubContextFn>(svc::kImportSubContext0)(&sub);
        if (!keepHandle) calls.Service<svc::ReleaseHandleFn>(svc::kReleaseHandle)(sub.hostHandle);
        return loaded != 0 ? block.result1 : 0;
    }

    // A text as the canvas sends one: the font by name, a text object for
    // the advances, the origins along the baseline, the text entry.
    std::vector<int32_t> Text(const Attributes& attributes, const char* family, uint32_t style, int32_t size,
                              const svgf::HostMatrix& transform, const std::u16string& text,
                              bool finish = true) {
        svgf::FontRecord record{};
        const int32_t font = calls.Service<svc::FontByNameFn>(svc::kFontByName)(family, &record, 0, 0);
        EXPECT_NE(font, 0);
        const svgf::HostHandle object =
            calls.Service<svc::CreateFontFn>(svc::kCreateFont)(0, font, style, size, &transform, 0, 0);
        EXPECT_NE(object, 0u);
        std::vector<int32_t> advances(text.size());
        const auto* codes = reinterpret_cast<const uint16_t*>(text.data());
        EXPECT_EQ(calls.Service<svc::SetTextFn>(svc::kSetText)(object, codes, int32_t(text.size()), advances.data()),
                  1);
        if (finish) {
            EXPECT_EQ(calls.Service<svc::ReleaseFontFn>(svc::kReleaseFont)(object), 1);
        }
        std::vector<svgf::HostPoint> origins(text.size());
        for (size_t i = 1; i < text.size(); ++i) origins[i] = {origins[i - 1].x + advances[i - 1], 0};
        const HostRect box{-size, size, origins.back().x + 2 * size, -size};
        calls.Draw<svgf::draw::TextFn>(svgf::draw::kText)(calls.Handle(), attributes.get(), font, style, size, 0,
                                                          &transform, origins.data(), codes, int32_t(text.size()),
                                                          &box);
        return advances;
    }

    void Image(HostWord picture, HostRect box) {
        svgf::HostMatrix identity{};
        calls.Service<svc::MatrixIdentityFn>(svc::kMatrixIdentity)(&identity);
        const Attributes none(NoFill());
        calls.Draw<svgf::draw::ImageFn>(svgf::draw::kImage)(calls.Handle(), none.get(), picture, 0, &box, &identity,
                                                            &box, &box, 0);
    }

    media_test::TempFolder folder;
    host::StandInHost host{&NoModule};
    ImportHost import{host};
    ModuleCalls calls{import};
};

TEST_F(ImportMedia, TextObjectsAdvanceByTheFontsOwnPairAdvances) {
    const svgf::HostMatrix turned{{0.5, -0.8660254, 100000, 0.8660254, 0.5, 50000}};
    std::vector<int32_t> advances;
    AsModule([&] { advances = Text(Attributes(UniformFill(0, 0, 0)), "DejaVu Sans", 0x1000, 50800, turned, u"AVa"); });
    EXPECT_TRUE(import.Balance().Balanced());

    // The same run as the host lays it out for the export.
    auto* fonts = static_cast<host::media::MediaFonts*>(host.Fonts());
    const int32_t id = fonts->FontId("DejaVu Sans");
    const auto origins = fonts->Layout(id, 0x1000, 50800, u"AVa", {0, 0}, 0);
    ASSERT_TRUE(origins);
    EXPECT_EQ(advances[0], (*origins)[1].x);
    EXPECT_EQ(advances[1], (*origins)[2].x - (*origins)[1].x);
    // The kerned pair runs closer than A's own width.
    EXPECT_LT(advances[0], *fonts->Library().PairAdvance({id, 0x1000, 50800}, 'A', 0));
    EXPECT_EQ(advances[2], *fonts->Library().PairAdvance({id, 0x1000, 50800}, 'a', 0));

    const host::DrawingResult read = host::ReadDrawing(import.Description());
    ASSERT_TRUE(read) << read.error.Describe("description");
    const host::DrawingObject& transform = read.drawing->layers.at(0).objects.at(0);
    ASSERT_EQ(transform.kind, host::ObjectKind::kTransform);
    EXPECT_DOUBLE_EQ(transform.matrix.m[3], 0.8660254);
    EXPECT_EQ(transform.matrix.m[2], 100000);
    const host::DrawingObject& text = transform.objects.at(0);
    EXPECT_EQ(text.text, u"AVa");
    EXPECT_EQ(text.font.family, "DejaVu Sans");
    EXPECT_EQ(text.font.weight, 700);
    EXPECT_EQ(text.font.size, 50800);
}

TEST_F(ImportMedia, AnUnfinishedTextObjectIsReported) {
    AsModule([&] { Text(Attributes(UniformFill(0, 0, 0)), "DejaVu Serif", 0x40, 25400, {{1, 0, 0, 0, 1, 0}}, u"x", false); });
    const auto balance = import.Balance();
    ASSERT_FALSE(balance.Balanced());
    EXPECT_EQ(balance.problems.front(), "1 text objects were not finished");
}

TEST_F(ImportMedia, LinkedPicturesComeThroughTheModulesCallback) {
    ASSERT_TRUE(host::media::WriteImageFile(folder / "q.png", media_test::Quarters(4, 4), {}));
    const size_t bitmapsBefore = host::StandInImages().openBitmaps();
    HostWord picture = 0;
    AsModule([&] {
        picture = LoadImage(folder / "q.png", svgf::kFormatPng);
        ASSERT_NE(picture, 0u);
        Image(picture, HostRect{0, kInch, kInch, 0});
        // A file that is not of the format its name promised is refused, as
        // is one that is not there.
        EXPECT_EQ(LoadImage(folder / "q.png", svgf::kFormatJpeg), 0u);
        EXPECT_EQ(LoadImage(folder / "none.gif", svgf::kFormatGif), 0u);
    });
    EXPECT_EQ(picture, host::import::kPictureTag | 1);
    EXPECT_TRUE(import.Balance().Balanced()) << import.Balance().problems.front();
    // The drawing keeps the file's name, not its decoded pixels.
    EXPECT_EQ(host::StandInImages().openBitmaps(), bitmapsBefore);
    const std::string log = import.Log().Text();
    EXPECT_NE(log.find("RunImageImport sub={size=748 flags=0x4000088 word12=1 word180=1 file=\"" + folder / "q.png" +
                       "\" format=0x322 handle=0x20001 services=set} -> 1\n"
                       "  ImageLoadCallback block={services=set result1=0 result2=0 callback=set} 0 picture=0x30001 "
                       "0 0 0 0 0 0 -> 0 block={services=set result1=196609 result2=0 callback=set}\n"
                       "    ImageLoad picture=0x30001 -> 0x30001\n"
                       "ReleaseHandle handle=0x20001 -> 1\n"),
              std::string::npos)
        << log;

    // The description names the file beside it by a relative path.
    const std::string description = folder / "d.json";
    std::string error;
    ASSERT_TRUE(import.WriteDescription(description, &error)) << error;
    const host::DrawingResult read = host::ReadDrawingFile(description);
    ASSERT_TRUE(read) << read.error.Describe(description);
    const host::DrawingObject& bitmap = read.drawing->layers.at(0).objects.at(0);
    EXPECT_EQ(bitmap.kind, host::ObjectKind::kBitmap);
    EXPECT_EQ(bitmap.image, folder / "q.png");
    EXPECT_NE(import.Description(folder.path()).find("\"image\": \"q.png\""), std::string::npos);
}

TEST_F(ImportMedia, AnImageHandleLeftOpenIsReported) {
    ASSERT_TRUE(host::media::WriteImageFile(folder / "q.png", media_test::Quarters(4, 4), {}));
    AsModule([&] { EXPECT_NE(LoadImage(folder / "q.png", svgf::kFormatPng, true), 0u); });
    const auto balance = import.Balance();
    ASSERT_FALSE(balance.Balanced());
    EXPECT_EQ(balance.problems.front(), "1 image handles were not released");
}

// The scene of the round trip in SVG, one inch square, host units with the
// y axis turned down.
std::string ReferenceSvg(const std::string& image) {
    return R"svg(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink"
     width="1in" height="1in" viewBox="0 0 254000 254000">
  <clipPath id="left"><rect x="0" y="0" width="127000" height="254000"/></clipPath>
  <rect x="25400" y="177800" width="203200" height="50800" fill="#FF0000" clip-path="url(#left)"/>
  <ellipse cx="190500" cy="63500" rx="38100" ry="25400" fill="#0000FF"/>
  <path d="M25400 127000 L101600 127000 L63500 76200 Z" fill="#008000"/>
  <image x="152400" y="152400" width="76200" height="76200" preserveAspectRatio="none" xlink:href=")svg" +
           image + R"svg("/>
  <text x="25400" y="38100" font-family="DejaVu Sans" font-size="25400">Hi</text>
</svg>
)svg";
}

bool HaveRenderer() {
    return std::system("rsvg-convert --version >/dev/null 2>&1") == 0;
}

host::media::Image Render(const std::string& svg, const std::string& png) {
    host::media::Image image;
    if (std::system(("rsvg-convert -w 100 -h 100 -o '" + png + "' '" + svg + "'").c_str()) != 0) return image;
    EXPECT_TRUE(host::media::DecodeImageFile(png, image));
    return image;
}

TEST_F(ImportMedia, ASceneRoundTripsThroughTheExport) {
    if (!HaveRenderer()) GTEST_SKIP() << "rsvg-convert is not installed";
    std::string error;
    auto module = host::ModuleLibrary::Open(host::DefaultModulePath(), &error);
    ASSERT_TRUE(module) << error;
    ASSERT_TRUE(host::media::WriteImageFile(folder / "q.png", media_test::Quarters(8, 8), {}));

    AsModule([&] {
        const svgf::HostHandle h = calls.Handle();
        calls.BeginGroup(h);
        calls.PushClip(h, RectangleClip(0, 0, 127000, kInch));
        calls.Rectangle(h, Attributes(UniformFill(255, 0, 0)), 25400, 25400, 203200, 50800);
        calls.PopClip(h);
        calls.Ellipse(h, Attributes(UniformFill(0, 0, 255)), 190500, 190500, 38100, 25400);
        calls.Path(h, Attributes(UniformFill(0, 128, 0)), {{25400, 127000}, {101600, 127000}, {63500, 177800}, {25400, 127000}},
                   {0x00, svgf::import_node::kLine, svgf::import_node::kLine,
                    svgf::import_node::kLine | svgf::import_node::kClose});
        Image(LoadImage(folder / "q.png", svgf::kFormatPng), HostRect{152400, 101600, 228600, 25400});
        Text(Attributes(UniformFill(0, 0, 0)), "DejaVu Sans", 0x40, 25400, {{1, 0, 25400, 0, 1, 215900}}, u"Hi");
        calls.EndGroup(h);
    });
    ASSERT_TRUE(import.Balance().Balanced()) << import.Balance().problems.front();
    ASSERT_TRUE(import.Warnings().empty()) << import.Warnings().front();
    import.SetPage(HostRect{0, kInch, kInch, 0});
    const std::string description = folder / "scene.json";
    ASSERT_TRUE(import.WriteDescription(description, &error)) << error;

    // svgfilter export of the description.
    const host::DrawingResult read = host::ReadDrawingFile(description);
    ASSERT_TRUE(read) << read.error.Describe(description);
    host::StandInHost exporter(module->Entry());
    const host::ExportResult exported = host::ExportDrawing(
        exporter, *read.drawing, folder / "scene.svg",
        [](svgf::SVGExportOptions& options) { options.bitmapType = svgf::kBitmapPng; });
    ASSERT_TRUE(exported.ok) << exported.message;

    {
        std::ofstream(folder / "reference.svg") << ReferenceSvg(folder / "q.png");
    }
    const host::media::Image got = Render(folder / "scene.svg", folder / "scene.png");
    const host::media::Image want = Render(folder / "reference.svg", folder / "reference.png");
    ASSERT_FALSE(got.empty());
    ASSERT_EQ(got.width, want.width);
    ASSERT_EQ(got.height, want.height);
    // Pixel by pixel over white, away from the text (whose glyphs the two
    // documents may place a little differently); the text is there in both.
    int differing = 0, textInkGot = 0, textInkWant = 0;
    for (uint32_t y = 0; y < got.height; ++y) {
        for (uint32_t x = 0; x < got.width; ++x) {
            const auto a = host::media::OverWhite(got.pixel(x, y));
            const auto b = host::media::OverWhite(want.pixel(x, y));
            if (y < 20 && x < 40) {
                textInkGot += a.r < 128;
                textInkWant += b.r < 128;
                continue;
            }
            differing += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b) > 60;
        }
    }
    EXPECT_LE(differing, 40) << "of " << got.width * got.height << " pixels";
    EXPECT_GT(textInkGot, 10);
    EXPECT_NEAR(textInkGot, textInkWant, textInkWant / 4);
}

}  // namespace

// Bitmaps exported through the shared module with the stand-in host's real
// bitmap services: the host writes each image file where the module asks,
// in the asked format, and the files decode again; a failed export leaves
// the images folder and the style sheet as they were.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "host/drawing_export.h"
#include "host/drawing_reader.h"
#include "host/media/image_codec.h"
#include "host/media/stand_in_images.h"
#include "host/module_loader.h"
#include "host/stand_in_host.h"
#include "media_fixtures.h"

namespace host {
namespace {

const char kLandscape[] = SVGFILTER_SOURCE_DIR "/examples/sample-landscape.png";

class BitmapExport : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        module_ = ModuleLibrary::Open(DefaultModulePath(), &error);
        ASSERT_TRUE(module_) << error;
        host_ = std::make_unique<StandInHost>(module_->Entry());
        bitmap_ = StandInImages().OpenBitmap(kLandscape);
        ASSERT_NE(bitmap_, 0u) << StandInImages().lastError();
    }

    // Exports a one-inch page holding the bitmap over box a (visible part b)
    // into folder/picture.svg; the module's answer to the bitmap.
    int32_t ExportBitmap(uint32_t bitmapType, const svgf::HostRect& a, const svgf::HostRect& b) {
        svgf::FilterContext& c = host_->Context();
        host_->SetNoUserInterface(true);
        EXPECT_EQ(host_->Call(svgf::kCmdOptions), 1);
        if (c.exportOptions == nullptr) return -1;
        c.exportOptions->bitmapType = bitmapType;
        EXPECT_TRUE(host_->OpenOutput(folder_ / "picture.svg"));
        c.pageRect = svgf::HostRect{0, 254000, 254000, 0};
        EXPECT_EQ(host_->Call(svgf::kCmdBeginExport), 1);
        int32_t answer = -1;
        if (c.callbackRecord != nullptr) {
            const auto& r = *static_cast<const svgf::ExportCallbackRecord*>(c.callbackRecord);
            media::SetExchangeSource(c.exchangeBlock, bitmap_);
            const svgf::HostMatrix identity{{1, 0, 0, 0, 1, 0}};
            host_->Report([&] { answer = r.drawBitmap(r.object, 0, bitmap_, 0, &a, &identity, &b, 0, 0); });
        }
        EXPECT_EQ(host_->Call(svgf::kCmdEndExport), 1);
        host_->CloseOutput();
        return answer;
    }

    std::unique_ptr<ModuleLibrary> module_;
    std::unique_ptr<StandInHost> host_;
    svgf::HostHandle bitmap_ = 0;
    media_test::TempFolder folder_;
};

struct FormatCase {
    uint32_t bitmapType;
    const char* extension;
};

class BitmapFormats : public BitmapExport, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(BitmapFormats, TheHostWritesTheFileTheModuleAsksForAndItDecodes) {
    const FormatCase& f = GetParam();
    // Two inches by one at 72 dots per inch: 144 by 72 pixels (plus the end points).
    const svgf::HostRect box{0, 254000, 508000, 0};
    ASSERT_EQ(ExportBitmap(f.bitmapType, box, box), svgf::kDone);
    const std::string file = folder_ / (std::string("picture_Images/picture_ImgID1.") + f.extension);
    media::Image decoded;
    const media::Status status = media::DecodeImageFile(file, decoded);
    ASSERT_TRUE(status) << status.message();
    EXPECT_EQ(decoded.width, 144u);
    EXPECT_EQ(decoded.height, 72u);
    EXPECT_EQ(host_->Log().Count("BitmapInfo"), 1u);
    EXPECT_EQ(host_->Log().Count("BitmapDescription"), 1u);
    EXPECT_EQ(host_->Log().Count("RunSubFilter"), 2u);
    EXPECT_EQ(host_->Log().Count("EndSubContext"), 1u);
    EXPECT_EQ(StandInImages().openCanvases(), 0u);
    std::ifstream in(folder_ / "picture.svg");
    const std::string document((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(document.find(std::string("xlink:href=\"picture_Images/picture_ImgID1.") + f.extension + "\""),
              std::string::npos)
        << document;
}

INSTANTIATE_TEST_SUITE_P(Formats, BitmapFormats,
                         ::testing::Values(FormatCase{svgf::kBitmapJpeg, "jpg"},
                                           FormatCase{svgf::kBitmapGif, "gif"},
                                           FormatCase{svgf::kBitmapPng, "png"}),
                         [](const auto& info) { return std::string(info.param.extension); });

TEST_F(BitmapExport, ABoxTooSmallForOnePixelIsRefusedAndLeavesNoElement) {
    const svgf::HostRect tiny{0, 254000, 1000, 253000};
    EXPECT_EQ(ExportBitmap(svgf::kBitmapPng, tiny, tiny), svgf::kFailed);
    EXPECT_EQ(host_->Log().Count("RunSubFilter"), 1u);
    EXPECT_EQ(host_->Log().Count("EndSubContext"), 0u);
    std::ifstream in(folder_ / "picture.svg");
    const std::string document((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(document.find("<image"), std::string::npos) << document;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Two images are written, then the third cannot be opened and the host stops
// the walk: what the export wrote goes, what was there before stays.
TEST_F(BitmapExport, AFailedExportLeavesTheImagesAndTheStyleSheetAsTheyWere) {
    const char kDrawing[] =
        R"({"format": "svgfilter-drawing", "version": 1, "unit": "in", "page": {"width": 1, "height": 1},
        "layers": [{"name": "L", "objects": [
          {"kind": "bitmap", "image": "sample-landscape.png", "x": 0, "y": 0, "width": 0.5, "height": 0.5},
          {"kind": "bitmap", "image": "sample-landscape.png", "x": 0.5, "y": 0, "width": 0.5, "height": 0.5},
          {"kind": "bitmap", "image": "missing.png", "x": 0, "y": 0.5, "width": 0.5, "height": 0.5}]}]})";
    const DrawingResult drawing = ReadDrawing(kDrawing, SVGFILTER_SOURCE_DIR "/examples");
    ASSERT_TRUE(drawing) << drawing.error.Describe("drawing");
    const auto external = [](svgf::SVGExportOptions& o) {
        o.bitmapType = svgf::kBitmapPng;
        o.cssPlacement = svgf::kCssExternal;
    };
    for (const bool earlier : {false, true}) {
        SCOPED_TRACE(earlier ? "an earlier export's files are there" : "nothing there");
        media_test::TempFolder folder;
        if (earlier) {
            std::filesystem::create_directory(folder / "picture_Images");
            std::ofstream(folder / "picture_Images/picture_ImgID1.png") << "earlier image";
            std::ofstream(folder / "picture.css") << ".earlier {}";
        }
        const ExportResult result = ExportDrawing(*host_, *drawing.drawing, folder / "picture.svg", external);
        ASSERT_FALSE(result.ok);
        EXPECT_NE(result.message.find("cannot open the image"), std::string::npos) << result.message;
        if (earlier) {
            EXPECT_EQ(folder.Files(), (std::set<std::string>{"picture.css", "picture_Images"}));
            EXPECT_EQ(ReadAll(folder / "picture.css"), ".earlier {}");
            std::set<std::string> images;
            for (const auto& e : std::filesystem::directory_iterator(folder / "picture_Images"))
                images.insert(e.path().filename().string());
            EXPECT_EQ(images, std::set<std::string>{"picture_ImgID1.png"});
            EXPECT_EQ(ReadAll(folder / "picture_Images/picture_ImgID1.png"), "earlier image");
        } else {
            EXPECT_TRUE(folder.Files().empty());
        }
    }
    // A whole export puts its files in place.
    media_test::TempFolder folder;
    const DrawingResult whole = ReadDrawing(
        R"({"format": "svgfilter-drawing", "version": 1, "unit": "in", "page": {"width": 1, "height": 1}, "layers": [{"name": "L",
            "objects": [{"kind": "bitmap", "image": "sample-landscape.png", "x": 0, "y": 0, "width": 1, "height": 1}]}]})",
        SVGFILTER_SOURCE_DIR "/examples");
    ASSERT_TRUE(whole);
    const ExportResult r = ExportDrawing(*host_, *whole.drawing, folder / "picture.svg", external);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(folder.Files(), (std::set<std::string>{"picture.css", "picture.svg", "picture_Images"}));
    EXPECT_TRUE(media::DecodeImageFile(folder / "picture_Images/picture_ImgID1.png",
                                       *std::make_unique<media::Image>()));
}

}  // namespace
}  // namespace host

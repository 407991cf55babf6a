// Bitmaps exported through the shared module with the stand-in host's real
// bitmap services: the host writes each image file where the module asks,
// in the asked format, and the files decode again.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

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

}  // namespace
}  // namespace host

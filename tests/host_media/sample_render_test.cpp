// The bundled sample, exported by the stand-in host through the shared
// module in every bitmap format and style placement: well-formed, rendered
// by a real SVG renderer, with its gradient, pattern, mask and image showing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "host/drawing_export.h"
#include "host/drawing_reader.h"
#include "host/media/image_codec.h"
#include "host/module_loader.h"
#include "host/stand_in_host.h"
#include "media_fixtures.h"

namespace host {
namespace {

bool HaveTool(const char* name) {
    return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The value of the first id attribute from `at` on.
std::string IdAt(const std::string& document, size_t at) {
    const size_t start = document.find("id=\"", at) + 4;
    return document.substr(start, document.find('"', start) - start);
}

struct SampleCase {
    uint32_t bitmapType;
    uint32_t placement;
    const char* extension;
};

class SampleRender : public ::testing::TestWithParam<SampleCase> {};

TEST_P(SampleRender, ExportsWellFormedAndRendersWithItsFillsAndImage) {
    const SampleCase& c = GetParam();
    const DrawingResult drawing = ReadDrawingFile(SVGFILTER_SOURCE_DIR "/examples/sample.json");
    ASSERT_TRUE(drawing) << drawing.error.Describe("sample.json");
    std::string error;
    const auto module = ModuleLibrary::Open(DefaultModulePath(), &error);
    ASSERT_TRUE(module) << error;
    StandInHost stand(module->Entry());
    media_test::TempFolder folder;
    const std::string path = folder / "sample.svg";
    const ExportResult result = ExportDrawing(stand, *drawing.drawing, path, [&](svgf::SVGExportOptions& o) {
        o.bitmapType = c.bitmapType;
        o.cssPlacement = c.placement;
    });
    ASSERT_TRUE(result.ok) << result.message;
    const std::string document = ReadText(path);

    // The image file in the asked format, and the element that shows it.
    const std::string image = std::string("sample_Images/sample_ImgID1.") + c.extension;
    media::Image decoded;
    EXPECT_TRUE(media::DecodeImageFile(folder / image, decoded)) << image;
    EXPECT_NE(document.find("xlink:href=\"" + image + "\""), std::string::npos) << document;
    // The pattern's tile, drawn by the host, inside the pattern; the element
    // refers to it by its style in every placement.
    const size_t pattern = document.find("<pattern id=\"");
    ASSERT_NE(pattern, std::string::npos) << document;
    const std::string patternId = IdAt(document, pattern);
    const size_t patternEnd = document.find("</pattern>", pattern);
    EXPECT_NE(document.substr(pattern, patternEnd - pattern).find("<ellipse"), std::string::npos) << document;
    EXPECT_NE(document.find("style=\"fill:url(#" + patternId + ")"), std::string::npos) << document;
    // The mask: a rectangle painted with opacity stops, and the element that uses it.
    const size_t mask = document.find("<mask maskUnits=\"userSpaceOnUse\" id=\"");
    ASSERT_NE(mask, std::string::npos) << document;
    EXPECT_NE(document.find("stop-opacity:0"), std::string::npos) << document;
    EXPECT_NE(document.find("mask:url(#" + IdAt(document, mask) + ")"), std::string::npos) << document;
    EXPECT_NE(document.find("<linearGradient"), std::string::npos) << document;
    EXPECT_NE(document.find("<radialGradient"), std::string::npos) << document;

    if (HaveTool("xmllint")) {
        EXPECT_EQ(std::system(("xmllint --noout --nonet '" + path + "'").c_str()), 0) << document;
    }
    if (!HaveTool("rsvg-convert")) GTEST_SKIP() << "rsvg-convert is not installed";
    // 100 pixels to the inch; rows count down from the page's top (6 in).
    const std::string png = folder / "sample.png";
    ASSERT_EQ(
        std::system(
            ("cd '" + folder.path() + "' && rsvg-convert -w 400 -h 600 -o sample.png sample.svg").c_str()),
        0);
    media::Image rendered;
    ASSERT_TRUE(media::DecodeImageFile(png, rendered));
    ASSERT_EQ(rendered.width, 400u);
    // The masked rectangle fades from opaque green at its left to clear at its right.
    const uint8_t* left = rendered.pixel(163, 220);
    const uint8_t* right = rendered.pixel(257, 220);
    EXPECT_GT(left[3], 220) << "alpha at the mask's opaque end";
    EXPECT_GT(left[1], left[0]);
    EXPECT_LT(right[3], 30) << "alpha at the mask's clear end";
    // The image: sky at its top, opaque and blue.
    const uint8_t* sky = rendered.pixel(300, 210);
    EXPECT_EQ(sky[3], 255);
    EXPECT_GT(sky[2], 180);
    EXPECT_GT(sky[2], sky[0]);
    // The linear gradient runs from red at its left to blue at its right.
    const uint8_t* red = rendered.pixel(23, 70);
    const uint8_t* blue = rendered.pixel(177, 70);
    EXPECT_GT(red[0], 200);
    EXPECT_LT(red[2], 60);
    EXPECT_GT(blue[2], 200);
    EXPECT_LT(blue[0], 60);
}

INSTANTIATE_TEST_SUITE_P(FormatsAndPlacements, SampleRender,
                         ::testing::Values(SampleCase{svgf::kBitmapJpeg, svgf::kCssInternal, "jpg"},
                                           SampleCase{svgf::kBitmapGif, svgf::kCssExternal, "gif"},
                                           SampleCase{svgf::kBitmapPng, svgf::kCssStyleAttribute, "png"},
                                           SampleCase{svgf::kBitmapPng, svgf::kCssInternal, "png"},
                                           SampleCase{svgf::kBitmapJpeg, svgf::kCssStyleAttribute, "jpg"},
                                           SampleCase{svgf::kBitmapGif, svgf::kCssInternal, "gif"}),
                         [](const auto& info) {
                             return std::string(info.param.extension) + "_placement" +
                                    std::to_string(info.param.placement);
                         });

}  // namespace
}  // namespace host

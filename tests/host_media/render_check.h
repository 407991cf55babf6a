// Drawings exported through the shared module and rendered by a real SVG
// renderer (rsvg-convert), for tests that look at the pixels.
#ifndef TESTS_HOST_MEDIA_RENDER_CHECK_H
#define TESTS_HOST_MEDIA_RENDER_CHECK_H

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

namespace render_check {

using host::media::Image;

inline bool HaveRenderer() {
    return std::system("rsvg-convert --version >/dev/null 2>&1") == 0;
}

// A page of `width` by `height` inches with one layer holding `objects`.
inline std::string Drawing(const std::string& objects, double width = 4, double height = 3) {
    return R"({"format": "svgfilter-drawing", "version": 1, "unit": "in", "page": {"width": )" +
           std::to_string(width) + R"(, "height": )" + std::to_string(height) +
           R"(}, "layers": [{"name": "L", "objects": [)" + objects + "]}]}";
}

struct Rendered {
    std::string document;  // the exported SVG
    Image image;           // empty when anything failed
};

// Exports the description into the folder with the options the editor sets
// and renders it at `width` by `height` pixels.
inline Rendered ExportAndRender(host::ModuleLibrary& module, const media_test::TempFolder& folder,
                                const std::string& description, uint32_t width, uint32_t height,
                                const host::OptionsEditor& editOptions) {
    Rendered out;
    const host::DrawingResult drawing = host::ReadDrawing(description);
    EXPECT_TRUE(drawing) << drawing.error.Describe("drawing");
    if (!drawing) return out;
    host::StandInHost stand(module.Entry());
    const std::string svg = folder / "d.svg";
    const host::ExportResult result = host::ExportDrawing(stand, *drawing.drawing, svg, editOptions);
    EXPECT_TRUE(result.ok) << result.message;
    if (!result.ok) return out;
    std::ifstream in(svg, std::ios::binary);
    out.document.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    const std::string png = folder / "d.png";
    const std::string command = "cd '" + folder.path() + "' && rsvg-convert -w " + std::to_string(width) +
                                " -h " + std::to_string(height) + " -o d.png d.svg";
    EXPECT_EQ(std::system(command.c_str()), 0) << out.document;
    EXPECT_TRUE(host::media::DecodeImageFile(png, out.image)) << "no rendering";
    return out;
}

// Tests in each CSS placement (the parameter) of drawings exported and
// rendered; skipped without the renderer.
class PlacementRender : public ::testing::TestWithParam<uint32_t> {
  protected:
    void SetUp() override {
        if (!HaveRenderer()) GTEST_SKIP() << "rsvg-convert is not installed";
        std::string error;
        module_ = host::ModuleLibrary::Open(host::DefaultModulePath(), &error);
        ASSERT_TRUE(module_) << error;
    }

    // In the test's placement, with what `more` sets besides.
    Rendered Render(const std::string& description, uint32_t width, uint32_t height,
                    const host::OptionsEditor& more = {}) {
        const uint32_t placement = GetParam();
        return ExportAndRender(*module_, folder_, description, width, height, [&](svgf::SVGExportOptions& o) {
            o.cssPlacement = placement;
            if (more) more(o);
        });
    }

    media_test::TempFolder folder_;
    std::unique_ptr<host::ModuleLibrary> module_;
};

}  // namespace render_check

#endif  // TESTS_HOST_MEDIA_RENDER_CHECK_H

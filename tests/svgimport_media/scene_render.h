// What the import host was given, rendered: its description exported back
// to SVG by the module and rendered by rsvg-convert beside a reference SVG,
// pixel by pixel over white.
#ifndef TESTS_SVGIMPORT_MEDIA_SCENE_RENDER_H
#define TESTS_SVGIMPORT_MEDIA_SCENE_RENDER_H

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <numbers>
#include <string>

#include "host/import/import_host.h"
#include "render_check.h"

namespace scene_render {

// Pixels of both renderings (a pixel per user unit of the two-inch page).
inline constexpr uint32_t kPixels = 180;

struct Comparison {
    int pixels = 0;
    int differing = 0;          // colours apart
    int coverageDiffering = 0;  // drawn in one and not the other
    int coveredGot = 0;
    int coveredWant = 0;
    std::string exported;  // the exported document, for messages
    host::media::Image got, want;
};

inline bool Covered(const host::media::Rgb& c) {
    return c.r < 235 || c.g < 235 || c.b < 235;
}

// The ink of a region (dark pixels): how much, its centre and the direction
// of its long axis in degrees, counter-clockwise from the x axis with y up.
struct Ink {
    int count = 0;
    double x = 0, y = 0;
    double angle = 0;
};

inline Ink InkOf(const host::media::Image& image, uint32_t left, uint32_t top, uint32_t right, uint32_t bottom) {
    Ink ink;
    double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
    for (uint32_t y = top; y < bottom && y < image.height; ++y) {
        for (uint32_t x = left; x < right && x < image.width; ++x) {
            const host::media::Rgb c = host::media::OverWhite(image.pixel(x, y));
            if (c.r + c.g + c.b > 3 * 128) continue;
            const double px = x, py = -static_cast<double>(y);
            ++ink.count;
            sx += px;
            sy += py;
            sxx += px * px;
            syy += py * py;
            sxy += px * py;
        }
    }
    if (ink.count == 0) return ink;
    const double n = ink.count;
    ink.x = sx / n;
    ink.y = -sy / n;
    const double cxx = sxx / n - (sx / n) * (sx / n), cyy = syy / n - (sy / n) * (sy / n);
    const double cxy = sxy / n - (sx / n) * (sy / n);
    ink.angle = 0.5 * std::atan2(2 * cxy, cxx - cyy) * 180 / std::numbers::pi;
    return ink;
}

class RenderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!render_check::HaveRenderer()) GTEST_SKIP() << "rsvg-convert is not installed";
        std::string error;
        module_ = host::ModuleLibrary::Open(host::DefaultModulePath(), &error);
        ASSERT_TRUE(module_) << error;
    }

    host::media::Image RenderFile(const std::string& svg, const std::string& png) {
        host::media::Image image;
        const std::string command = "rsvg-convert -w " + std::to_string(kPixels) + " -h " +
                                    std::to_string(kPixels) + " -o '" + png + "' '" + svg + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        EXPECT_TRUE(host::media::DecodeImageFile(png, image)) << "no rendering of " << svg;
        return image;
    }

    // Exports the import host's drawing and renders it and the reference.
    Comparison Compare(const host::import::ImportHost& import, const std::string& reference) {
        Comparison c;
        // Pictures named by absolute paths.
        const render_check::Rendered rendered = render_check::ExportAndRender(
            *module_, folder_, import.Description(), kPixels, kPixels,
            [](svgf::SVGExportOptions& o) {
                o.bitmapType = svgf::kBitmapPng;
                o.precision = 25400;  // fine enough that the rounding of user units shows nowhere
            });
        c.exported = rendered.document;
        c.got = rendered.image;
        std::ofstream(folder_ / "reference.svg") << reference;
        c.want = RenderFile(folder_ / "reference.svg", folder_ / "reference.png");
        if (c.got.empty() || c.want.empty() || c.got.width != c.want.width || c.got.height != c.want.height) {
            ADD_FAILURE() << "renderings missing or of different sizes";
            return c;
        }
        for (uint32_t y = 0; y < c.got.height; ++y) {
            for (uint32_t x = 0; x < c.got.width; ++x) {
                const auto a = host::media::OverWhite(c.got.pixel(x, y));
                const auto b = host::media::OverWhite(c.want.pixel(x, y));
                ++c.pixels;
                c.differing += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b) > 60;
                c.coverageDiffering += Covered(a) != Covered(b);
                c.coveredGot += Covered(a);
                c.coveredWant += Covered(b);
            }
        }
        return c;
    }

    media_test::TempFolder folder_;
    std::unique_ptr<host::ModuleLibrary> module_;
};

}  // namespace scene_render

#endif  // TESTS_SVGIMPORT_MEDIA_SCENE_RENDER_H

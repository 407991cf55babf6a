// Exported drawings rendered by a real SVG renderer (rsvg-convert) at ten by
// ten pixels, to show the geometry: where the red square is, where a
// transformed group lands, what a clip cuts away.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "render_check.h"

namespace {

using host::media::Image;

// A one-inch page with one layer holding `objects`.
std::string Drawing(const std::string& objects) {
    return render_check::Drawing(objects, 1, 1);
}

const char kRedHalf[] = R"({"kind": "rectangle", "x": 0, "y": 0, "width": 0.5, "height": 1,
                             "fill": {"kind": "uniform", "colour": "#FF0000"}})";

class ExportRender : public render_check::PlacementRender {
  protected:
    Image Render(const std::string& description) { return PlacementRender::Render(description, 10, 10).image; }

    // Red and opaque at (x, y), pixels from the top left.
    static bool Red(const Image& image, uint32_t x, uint32_t y) {
        if (image.empty()) return false;
        const uint8_t* p = image.pixel(x, y);
        return p[0] > 200 && p[1] < 60 && p[2] < 60 && p[3] > 200;
    }
    static bool Empty(const Image& image, uint32_t x, uint32_t y) {
        return !image.empty() && image.pixel(x, y)[3] < 30;
    }
};

TEST_P(ExportRender, TheRedRectangleIsWhereTheHostPutIt) {
    const Image image = Render(Drawing(kRedHalf));
    EXPECT_TRUE(Red(image, 2, 2));
    EXPECT_TRUE(Red(image, 2, 8));
    EXPECT_TRUE(Empty(image, 7, 2));
    EXPECT_TRUE(Empty(image, 7, 8));
}

TEST_P(ExportRender, ATransformedGroupLandsWhereTheHostPutIt) {
    // A quarter turn counter-clockwise about the page's centre carries the
    // lower-left quarter to the lower-right one.
    const Image image = Render(Drawing(R"({"kind": "transform", "matrix": [0, -1, 1, 1, 0, 0], "objects": [
        {"kind": "rectangle", "x": 0, "y": 0, "width": 0.5, "height": 0.5,
         "fill": {"kind": "uniform", "colour": "#FF0000"}}]})"));
    EXPECT_TRUE(Red(image, 7, 7));
    EXPECT_TRUE(Empty(image, 2, 7));
    EXPECT_TRUE(Empty(image, 2, 2));
    EXPECT_TRUE(Empty(image, 7, 2));
}

TEST_P(ExportRender, ClipsCutAwayWhatLiesOutside) {
    // The whole page red, clipped to the upper half by a rectangle and then
    // to the left half by a path: only the upper-left quarter stays.
    const Image image = Render(Drawing(R"({"kind": "clip",
        "shape": {"kind": "rectangle", "x": 0, "y": 0.5, "width": 1, "height": 0.5}, "objects": [
          {"kind": "clip", "shape": {"kind": "path", "nodes": [["M", 0, 0], ["L", 0.5, 0], ["L", 0.5, 1],
                                                                ["L", 0, 1], ["Z"]]}, "objects": [
            {"kind": "rectangle", "x": 0, "y": 0, "width": 1, "height": 1,
             "fill": {"kind": "uniform", "colour": "#FF0000"}}]}]})"));
    EXPECT_TRUE(Red(image, 2, 2));
    EXPECT_TRUE(Empty(image, 7, 2));
    EXPECT_TRUE(Empty(image, 2, 7));
    EXPECT_TRUE(Empty(image, 7, 7));
}

INSTANTIATE_TEST_SUITE_P(Placements, ExportRender,
                         ::testing::Values(svgf::kCssInternal, svgf::kCssExternal, svgf::kCssStyleAttribute));

}  // namespace

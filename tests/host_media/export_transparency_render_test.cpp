// A uniform transparency makes the whole object translucent, as the host
// draws it: the outline over the fill, then the transparency. Rendered by a
// real SVG renderer, the translucent drawing must look like the opaque one
// composited at the same level over the background; had the fill and the
// outline each been made translucent on its own, the inner half of the
// outline would show the fill through it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "render_check.h"

namespace {

using host::media::Image;

constexpr uint32_t kSize = 60;

// A white page behind a black band, so that the fill and the outline blend
// with something other than white.
const char kBackground[] = R"({"kind": "rectangle", "x": 0, "y": 0, "width": 1, "height": 1,
                              "fill": {"kind": "uniform", "colour": "#FFFFFF"}},
                             {"kind": "rectangle", "x": 0, "y": 0.35, "width": 1, "height": 0.3,
                              "fill": {"kind": "uniform", "colour": "#000000"}})";

// A blue shape with a wide red outline, with `transparency` as its last member.
std::string Shape(const std::string& geometry, const std::string& transparency) {
    return "{" + geometry + R"(, "fill": {"kind": "uniform", "colour": "#0000FF"},
              "outline": {"kind": "solid", "colour": "#FF0000", "width": 0.08})" +
           transparency + "}";
}

struct ShapeCase {
    const char* name;
    const char* geometry;
};

const ShapeCase kShapes[] = {
    {"rectangle", R"("kind": "rectangle", "x": 0.2, "y": 0.2, "width": 0.6, "height": 0.6)"},
    {"ellipse", R"("kind": "ellipse", "cx": 0.5, "cy": 0.5, "rx": 0.32, "ry": 0.26)"},
    {"path", R"("kind": "path", "nodes": [["M", 0.15, 0.15], ["L", 0.85, 0.2], ["L", 0.5, 0.85], ["Z"]])"},
};

class TransparencyRender : public render_check::PlacementRender {
  protected:
    Image RenderObjects(const std::string& objects) {
        return Render(render_check::Drawing(objects, 1, 1), kSize, kSize).image;
    }
};

TEST_P(TransparencyRender, TheOutlineBandShowsOneBlend) {
    const Image background = RenderObjects(kBackground);
    ASSERT_FALSE(background.empty());
    for (const ShapeCase& c : kShapes) {
        SCOPED_TRACE(c.name);
        const Image opaque = RenderObjects(std::string(kBackground) + "," + Shape(c.geometry, ""));
        const Image half = RenderObjects(std::string(kBackground) + "," +
                                         Shape(c.geometry, R"(, "transparency": {"kind": "uniform", "level": 50})"));
        ASSERT_FALSE(opaque.empty());
        ASSERT_FALSE(half.empty());
        // Where the opaque shape differs from the background, the translucent
        // one lies halfway between them, the outline's inner band included.
        int worst = 0;
        uint32_t worstX = 0, worstY = 0, covered = 0;
        for (uint32_t y = 0; y < kSize; ++y) {
            for (uint32_t x = 0; x < kSize; ++x) {
                const uint8_t* b = background.pixel(x, y);
                const uint8_t* o = opaque.pixel(x, y);
                const uint8_t* h = half.pixel(x, y);
                if (o[0] != b[0] || o[1] != b[1] || o[2] != b[2]) ++covered;
                for (int ch = 0; ch < 3; ++ch) {
                    const int expected = (o[ch] + b[ch] + 1) / 2;
                    const int off = std::abs(h[ch] - expected);
                    if (off > worst) {
                        worst = off;
                        worstX = x;
                        worstY = y;
                    }
                }
            }
        }
        EXPECT_GT(covered, kSize * kSize / 5);
        // A fill seen through the outline's inner half is off by about 64 in blue.
        EXPECT_LE(worst, 6) << "at (" << worstX << ", " << worstY << ")";
    }
}

INSTANTIATE_TEST_SUITE_P(Placements, TransparencyRender,
                         ::testing::Values(svgf::kCssInternal, svgf::kCssExternal, svgf::kCssStyleAttribute));

}  // namespace

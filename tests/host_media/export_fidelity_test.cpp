// What a person sees of an exported drawing, rendered by a real SVG renderer
// in every style placement: transparencies that reach the outline, masks
// that leave it whole, hue blends, closes, stop order, short gradients, text
// as curves; and the order of the embedded font among the font families.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <regex>
#include <set>
#include <string>

#include "host/host_fonts.h"
#include "render_check.h"

namespace {

using host::media::Image;
using render_check::Drawing;

struct Rgba {
    int r, g, b, a;
};

// 100 pixels to the inch on the 4 by 3 inch page; rows count down from the
// page's top, so host y (up from the bottom) is row 300 - 100 y.
class ExportFidelity : public render_check::PlacementRender {
  protected:
    render_check::Rendered Render(const std::string& description, uint32_t width = 400, uint32_t height = 300,
                                  const host::OptionsEditor& more = {}) {
        return PlacementRender::Render(description, width, height, more);
    }
    static Rgba At(const Image& image, uint32_t x, uint32_t y) {
        if (image.empty() || x >= image.width || y >= image.height) return {-1, -1, -1, -1};
        const uint8_t* p = image.pixel(x, y);
        return {p[0], p[1], p[2], p[3]};
    }
};

TEST_P(ExportFidelity, AUniformTransparencyReachesTheOutline) {
    const struct {
        int level;
        int minAlpha, maxAlpha;
    } cases[] = {{100, 0, 20}, {50, 100, 160}, {0, 240, 255}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        const render_check::Rendered out = Render(Drawing(
            R"({"kind": "rectangle", "x": 1, "y": 1, "width": 2, "height": 1,
                "outline": {"kind": "solid", "colour": "#000000", "width": 0.2},
                "transparency": {"kind": "uniform", "level": )" +
            std::to_string(c.level) + "}}"));
        // The left side of the frame, half its width each side of x = 1 in.
        const Rgba frame = At(out.image, 100, 150);
        EXPECT_GE(frame.a, c.minAlpha) << out.document;
        EXPECT_LE(frame.a, c.maxAlpha) << out.document;
    }
}

TEST_P(ExportFidelity, AVaryingTransparencyLeavesTheOutlineWhole) {
    // Opaque everywhere, so the mask must show all of the outline: the
    // ellipse's stroke outside its box, and a mitred tip beyond the path's box.
    const std::string opaque = R"("transparency": {"kind": "linear", "stops": [{"level": 0, "at": 0},
                                                                              {"level": 0, "at": 100}]})";
    const render_check::Rendered out = Render(Drawing(
        R"({"kind": "ellipse", "cx": 2, "cy": 2, "rx": 1, "ry": 0.5,
            "fill": {"kind": "uniform", "colour": "#3060C0"},
            "outline": {"kind": "solid", "colour": "#000000", "width": 0.2}, )" +
        opaque + R"(},
           {"kind": "path", "nodes": [["M", 1, 0], ["L", 3, 0.7], ["L", 1, 1.4], ["Z"]],
            "fill": {"kind": "uniform", "colour": "#3060C0"},
            "outline": {"kind": "solid", "colour": "#000000", "width": 0.1}, )" +
        opaque + "}"));
    for (const auto& [x, y] : {std::pair{95u, 100u}, std::pair{305u, 100u}, std::pair{200u, 45u},
                               // the tip at (3, 0.7) in, mitred some 0.1 in further
                               std::pair{308u, 230u}}) {
        const Rgba p = At(out.image, x, y);
        EXPECT_GT(p.a, 200) << x << "," << y << "\n" << out.document;
        EXPECT_LT(p.r, 60) << x << "," << y;
    }
}

TEST_P(ExportFidelity, HueBlendsWalkTheHueCircle) {
    const auto blend = [](const char* kind, const char* from, const char* to, const char* mid) {
        return Drawing(std::string(R"({"kind": "rectangle", "x": 0, "y": 1, "width": 4, "height": 1,
            "fill": {"kind": "linear", "blend": ")") +
                       kind + R"(", )" + mid + R"("stops": [{"colour": )" + from + R"(, "at": 0},
                                        {"colour": )" + to + R"(, "at": 100}]}})");
    };
    {
        // Downwards from hue 130 to hue 10: hue 60, pure yellow, at 58 %.
        const render_check::Rendered out =
            Render(blend("hue-down", R"({"hsb": [130, 255, 255]})", R"({"hsb": [10, 255, 255]})", ""));
        const Rgba yellow = At(out.image, 234, 150);
        EXPECT_GT(yellow.r, 240) << out.document;
        EXPECT_GT(yellow.g, 240);
        EXPECT_LT(yellow.b, 20);
    }
    {
        // Upwards from red to blue with the middle (green) at 25 %: past the
        // bend the colours run on towards cyan, without a jump to a pale mix.
        const render_check::Rendered out = Render(blend("hue-up", R"("#FF0000")", R"("#0000FF")", R"("mid": 25, )"));
        const Rgba green = At(out.image, 100, 150);
        EXPECT_LT(green.r, 30) << out.document;
        EXPECT_GT(green.g, 230);
        const Rgba past = At(out.image, 106, 150);
        EXPECT_LT(past.r, 30) << out.document;
        EXPECT_LT(past.b, 60);
    }
}

TEST_P(ExportFidelity, AClosedSubpathStaysClosedWhenALineFollows) {
    // Two triangles, not one pentagon: the second starts again at (1, 1).
    const render_check::Rendered out = Render(Drawing(
        R"({"kind": "path", "nodes": [["M", 1, 1], ["L", 2, 1], ["L", 2, 2], ["Z"], ["L", 1, 2], ["L", 0.5, 1.5], ["Z"]],
            "fill": {"kind": "uniform", "colour": "#FF0000"}})"));
    EXPECT_GT(At(out.image, 175, 175).a, 200) << out.document;  // the first triangle, at (1.75, 1.25)
    EXPECT_GT(At(out.image, 75, 150).a, 200);                   // the second, at (0.75, 1.5)
    EXPECT_LT(At(out.image, 125, 125).a, 30);                   // what the pentagon would add, at (1.25, 1.75)
}

TEST_P(ExportFidelity, StopsGivenOutOfOrderAllShow) {
    const render_check::Rendered out = Render(Drawing(
        R"({"kind": "rectangle", "x": 0, "y": 1, "width": 4, "height": 1,
            "fill": {"kind": "linear", "stops": [{"colour": "#FF0000", "at": 100}, {"colour": "#0000FF", "at": 0}]}})"));
    const Rgba left = At(out.image, 10, 150);
    const Rgba right = At(out.image, 390, 150);
    EXPECT_GT(left.b, 200) << out.document;
    EXPECT_LT(left.r, 60);
    EXPECT_GT(right.r, 200);
    EXPECT_LT(right.b, 60);
}

TEST_P(ExportFidelity, AShortGradientKeepsItsDirection) {
    // 3 degrees across a box 16 user units wide: rounded to whole units its
    // ends would lie level. Going up to the right, the gradient is further
    // on at the box's top-left corner than at its bottom-left one.
    const render_check::Rendered out = Render(
        Drawing(R"({"kind": "rectangle", "x": 0, "y": 0, "width": 0.016, "height": 0.016,
                    "fill": {"kind": "linear", "angle": 3,
                             "stops": [{"colour": "#FF0000", "at": 0}, {"colour": "#0000FF", "at": 100}]}})",
                0.016, 0.016),
        160, 160);
    const Rgba top = At(out.image, 3, 3);
    const Rgba bottom = At(out.image, 3, 156);
    EXPECT_GE(top.b - bottom.b, 6) << out.document;
}

TEST_P(ExportFidelity, EveryFillUnderEveryTransparencyKeepsItsOutline) {
    // Rows of transparencies, columns of fills; each object a rectangle with
    // a mitred outline 0.1 in wide. Pixels 100 to the inch on a 5 by 4 page.
    const char* fills[] = {
        R"({"kind": "none"})",
        R"({"kind": "uniform", "colour": "#FF0000"})",
        R"({"kind": "linear", "stops": [{"colour": "#FF0000", "at": 0}, {"colour": "#00FF00", "at": 100}]})",
        R"({"kind": "radial", "stops": [{"colour": "#FF0000", "at": 0}, {"colour": "#00FF00", "at": 100}]})",
        R"({"kind": "pattern", "width": 0.2, "height": 0.2, "objects": [{"kind": "rectangle", "x": 0, "y": 0,
            "width": 0.1, "height": 0.1, "fill": {"kind": "uniform", "colour": "#FF0000"}}]})",
    };
    const struct {
        const char* transparency;
        int minAlpha, maxAlpha;
    } rows[] = {
        {R"({"kind": "uniform", "level": 50})", 100, 160},
        {R"({"kind": "linear", "stops": [{"level": 0, "at": 0}, {"level": 0, "at": 100}]})", 220, 255},
        {R"({"kind": "radial", "stops": [{"level": 0, "at": 0}, {"level": 0, "at": 100}]})", 220, 255},
        {R"({"kind": "pattern", "width": 0.3, "height": 0.3, "objects": [{"kind": "rectangle", "x": 0, "y": 0,
            "width": 0.3, "height": 0.3, "fill": {"kind": "uniform", "colour": "#FFFFFF"}}]})",
         220, 255},
    };
    std::string objects;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 5; ++column) {
            if (!objects.empty()) objects += ",";
            objects += R"({"kind": "rectangle", "x": )" + std::to_string(column + 0.2) + R"(, "y": )" +
                       std::to_string(row + 0.25) + R"(, "width": 0.6, "height": 0.5, "fill": )" + fills[column] +
                       R"(, "outline": {"kind": "solid", "colour": "#000000", "width": 0.1}, "transparency": )" +
                       rows[row].transparency + "}";
        }
    }
    const render_check::Rendered out = Render(Drawing(objects, 5, 4), 500, 400);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 5; ++column) {
            SCOPED_TRACE(testing::Message() << "row " << row << ", column " << column);
            // The outline's outer half, left of the box, and its corner, down-left of it.
            const uint32_t left = static_cast<uint32_t>(column * 100 + 20);
            const uint32_t bottom = static_cast<uint32_t>(400 - (row * 100 + 25));
            for (const auto& [x, y] : {std::pair{left - 3, bottom - 25}, std::pair{left - 3, bottom + 3}}) {
                const Rgba p = At(out.image, x, y);
                EXPECT_GE(p.a, rows[row].minAlpha) << x << "," << y;
                EXPECT_LE(p.a, rows[row].maxAlpha) << x << "," << y;
                EXPECT_LT(p.r, 40) << x << "," << y;
            }
        }
    }
    if (HasFailure()) ADD_FAILURE() << out.document;
}

TEST_P(ExportFidelity, TextAsCurvesIsDrawnFromTheGlyphs) {
    if (host::MakeHostFonts() == nullptr) GTEST_SKIP() << "this build's host has no fonts";
    const std::string text = R"({"kind": "text", "x": 0.5, "y": 1, "text": "HH",
        "font": {"family": "DejaVu Sans", "size": 1}, "fill": {"kind": "uniform", "colour": "#FF0000"}})";
    for (uint32_t asText : {1u, 0u}) {
        SCOPED_TRACE(asText);
        const render_check::Rendered out =
            Render(Drawing(text), 400, 300, [asText](svgf::SVGExportOptions& o) { o.textAsText = asText; });
        EXPECT_EQ(out.document.find("<text") != std::string::npos, asText == 1);
        // The first H's left stem, some 0.15 in right of its origin and
        // 0.3 in above the baseline, is red either way; between the bars, not.
        const Rgba stem = At(out.image, 62, 170);
        EXPECT_GT(stem.a, 200) << out.document;
        EXPECT_GT(stem.r, 200);
        EXPECT_LT(At(out.image, 62, 230).a, 30);
    }
}

INSTANTIATE_TEST_SUITE_P(Placements, ExportFidelity,
                         ::testing::Values(svgf::kCssInternal, svgf::kCssExternal, svgf::kCssStyleAttribute));

// The families a text names, in order, from its class rule or its style.
std::vector<std::string> FamiliesOf(const std::string& css) {
    const size_t at = css.find("font-family:");
    if (at == std::string::npos) return {};
    const size_t start = at + 12;
    const std::string list = css.substr(start, css.find_first_of(";}\"", start) - start);
    std::vector<std::string> families;
    std::string name;
    for (char c : list + ",") {
        if (c == ',') {
            families.push_back(name);
            name.clear();
        } else if (c != '\'') {
            name += c;
        }
    }
    return families;
}

TEST(EmbeddedFontOrder, ThePriorityOptionPutsTheEmbeddedFontFirstAndOtherwiseAfter) {
    if (host::MakeHostFonts() == nullptr) GTEST_SKIP() << "this build's host has no fonts";
    std::string error;
    const auto module = host::ModuleLibrary::Open(host::DefaultModulePath(), &error);
    ASSERT_TRUE(module) << error;
    const std::string description = Drawing(R"({"kind": "text", "x": 0.5, "y": 1, "text": "Hi",
        "font": {"family": "DejaVu Sans", "size": 0.5}})");
    const host::DrawingResult drawing = host::ReadDrawing(description);
    ASSERT_TRUE(drawing);
    std::string documents[2];
    for (uint32_t priority : {0u, 1u}) {
        SCOPED_TRACE(priority);
        media_test::TempFolder folder;
        host::StandInHost stand(module->Entry());
        const std::string path = folder / "d.svg";
        ASSERT_TRUE(host::ExportDrawing(stand, *drawing.drawing, path, [priority](svgf::SVGExportOptions& o) {
                        o.embedFonts = 1;
                        o.embeddedFontsFirst = priority;
                    }).ok);
        std::ifstream in(path, std::ios::binary);
        documents[priority].assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        const std::string& document = documents[priority];
        // The embedded font is a family of its own, named by its id.
        EXPECT_NE(document.find("@font-face { font-family:\"FontID0\";src:url(\"#FontID0\")"), std::string::npos)
            << document;
        const std::vector<std::string> families = FamiliesOf(document.substr(document.find(".fnt0")));
        const std::vector<std::string> expected =
            priority == 1 ? std::vector<std::string>{"FontID0", "DejaVu Sans"}
                          : std::vector<std::string>{"DejaVu Sans", "FontID0"};
        EXPECT_EQ(families, expected) << document;
        // Where the installed family is missing, the first family a renderer
        // can use is the embedded one in either order: the families the
        // document declares are all a viewer without DejaVu has.
        std::set<std::string> declared;
        const std::regex face("font-family:\"([^\"]+)\";src:url\\(\"#");
        for (auto it = std::sregex_iterator(document.begin(), document.end(), face); it != std::sregex_iterator();
             ++it) {
            declared.insert((*it)[1]);
        }
        std::string used;
        for (const std::string& family : families) {
            if (declared.count(family) != 0) {
                used = family;
                break;
            }
        }
        EXPECT_EQ(used, "FontID0");
        EXPECT_NE(document.find("<font id=\"FontID0\""), std::string::npos);
    }
    EXPECT_NE(documents[0], documents[1]);
}

}  // namespace

// Text exported through the shared module with the host's real fonts: the
// glyphs the module embeds against the font files read with FreeType, the
// host's font and glyph handles all given back, and the bundled sample in
// every style placement, checked and rendered.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "font_reference.h"
// Outline measures, after the reference has brought in FreeType.
#include FT_OUTLINE_H
#include FT_BBOX_H
#include "host/drawing_export.h"
#include "host/drawing_reader.h"
#include "host/media/image_codec.h"
#include "host/media/media_fonts.h"
#include "host/module_loader.h"
#include "host/stand_in_host.h"
#include "media_fixtures.h"
#include "xml_check.h"

namespace host::media {
namespace {

using media_test::TempFolder;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

int Shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The glyph element of a character, or empty.
std::string GlyphOf(const std::string& document, const std::string& unicode) {
    const std::string start = "<glyph unicode=\"" + unicode + "\">";
    const size_t at = document.find(start);
    if (at == std::string::npos) return {};
    return document.substr(at, document.find("</glyph>", at) - at);
}

// The nodes of path data written as M, l, c (relative) and z: their count and
// the box around them, in absolute coordinates.
struct PathNodes {
    int count = 0;
    long left = LONG_MAX, bottom = LONG_MAX, right = LONG_MIN, top = LONG_MIN;
};
PathNodes NodesOf(const std::string& glyph) {
    PathNodes nodes;
    const size_t d = glyph.find("d=\"");
    if (d == std::string::npos) return nodes;
    const std::string data = glyph.substr(d + 3, glyph.find('"', d + 3) - d - 3);
    long x = 0, y = 0;
    char command = 0;
    int inCurve = 0;
    const std::regex token("[Mmlcz]|-?[0-9]+");
    std::vector<long> numbers;
    auto node = [&](long nx, long ny) {
        ++nodes.count;
        nodes.left = std::min(nodes.left, nx);
        nodes.right = std::max(nodes.right, nx);
        nodes.bottom = std::min(nodes.bottom, ny);
        nodes.top = std::max(nodes.top, ny);
    };
    for (auto it = std::sregex_iterator(data.begin(), data.end(), token); it != std::sregex_iterator();
         ++it) {
        const std::string t = it->str();
        if (std::isalpha(static_cast<unsigned char>(t[0]))) {
            command = t[0];
            numbers.clear();
            inCurve = 0;
            continue;
        }
        numbers.push_back(std::stol(t));
        if (numbers.size() < 2) continue;
        const long dx = numbers[0], dy = numbers[1];
        numbers.clear();
        if (command == 'M') {
            x = dx;
            y = dy;
            node(x, y);
        } else if (command == 'm' || command == 'l') {
            x += dx;
            y += dy;
            node(x, y);
        } else if (command == 'c') {
            // Offsets of a curve's three nodes are all from its start.
            node(x + dx, y + dy);
            if (++inCurve == 3) {
                x += dx;
                y += dy;
                inCurve = 0;
            }
        }
    }
    return nodes;
}

class TextExport : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        module_ = ModuleLibrary::Open(DefaultModulePath(), &error);
        ASSERT_TRUE(module_) << error;
        host_ = std::make_unique<StandInHost>(module_->Entry());
    }

    Drawing Read(const std::string& text) {
        const DrawingResult r = ReadDrawing(text);
        EXPECT_TRUE(r) << r.error.Describe("drawing");
        return r ? *r.drawing : Drawing{};
    }

    FontLibrary& Library() {
        auto* fonts = dynamic_cast<MediaFonts*>(host_->Fonts());
        EXPECT_NE(fonts, nullptr);
        return fonts->Library();
    }

    TempFolder folder_;
    std::unique_ptr<ModuleLibrary> module_;
    std::unique_ptr<StandInHost> host_;
};

// One user unit per host unit and 100 host units per font unit: the
// embedded outlines can be compared with the font's own numbers exactly.
TEST_F(TextExport, EmbeddedGlyphsFollowTheFontsOutlines) {
    const Drawing drawing = Read(std::string(R"({"format": "svgfilter-drawing", "version": 1, "unit": "host",
        "page": {"width": 2540000, "height": 2540000},
        "layers": [{"name": "T", "objects": [
          {"kind": "text", "x": 100000, "y": 1000000, "text": "HOH",
           "font": {"family": "DejaVu Sans", "size": )") +
                                 std::to_string(testing::kExactSize) + R"(}}]}]})");
    const std::string path = folder_ / "glyphs.svg";
    const ExportResult result = ExportDrawing(*host_, drawing, path, [](svgf::SVGExportOptions& o) {
        o.embedFonts = 1;
        o.precision = 254000;
    });
    ASSERT_TRUE(result.ok) << result.message;
    const std::string document = ReadFile(path);
    EXPECT_WELL_FORMED(document);

    const std::optional<ResolvedFont> resolved = Library().Resolve(testing::kSans, 0x40);
    ASSERT_TRUE(resolved);
    testing::ReferenceFace face(*resolved);
    for (char character : {'H', 'O'}) {
        SCOPED_TRACE(character);
        const PathNodes nodes = NodesOf(GlyphOf(document, std::string(1, character)));
        face.Load(character);
        FT_BBox box;
        FT_Outline_Get_CBox(&face->glyph->outline, &box);
        // Control points included on both sides: raising a quadratic to a
        // cubic keeps its controls within the quadratic's.
        EXPECT_GE(nodes.left, box.xMin * 100);
        EXPECT_LE(nodes.right, box.xMax * 100);
        EXPECT_GE(nodes.bottom, box.yMin * 100);
        EXPECT_LE(nodes.top, box.yMax * 100);
        FT_Outline_Get_BBox(&face->glyph->outline, &box);
        if (character == 'H') {
            // Straight lines only: one node per point of the font's outline.
            EXPECT_EQ(nodes.count, face->glyph->outline.n_points);
            EXPECT_EQ(nodes.left, box.xMin * 100);
            EXPECT_EQ(nodes.right, box.xMax * 100);
            EXPECT_EQ(nodes.bottom, box.yMin * 100);
            EXPECT_EQ(nodes.top, box.yMax * 100);
        } else {
            // The curves' ends sit on the outline's extremes.
            EXPECT_GE(nodes.count, face->glyph->outline.n_points);
            EXPECT_EQ(nodes.top, box.yMax * 100);
            EXPECT_EQ(nodes.bottom, box.yMin * 100);
        }
    }
    // One glyph per character, however often it is used.
    EXPECT_EQ(document.find("<glyph unicode=\"H\">", document.find("<glyph unicode=\"H\">") + 1),
              std::string::npos);
}

TEST_F(TextExport, TheHostsFontsAndGlyphsAllComeBack) {
    const Drawing drawing = Read(R"({"format": "svgfilter-drawing", "version": 1, "unit": "pt",
        "page": {"width": 200, "height": 100},
        "layers": [{"name": "T", "objects": [
          {"kind": "text", "x": 10, "y": 50, "text": "Wave AVA", "font": {"family": "DejaVu Sans", "size": 12}},
          {"kind": "text", "x": 10, "y": 30, "text": "Wave", "font": {"family": "DejaVu Sans", "size": 12, "weight": 700}},
          {"kind": "text", "x": 10, "y": 10, "text": "Wave", "font": {"family": "DejaVu Serif", "size": 12, "italic": true}}
        ]}]})");
    const std::string path = folder_ / "handles.svg";
    const ExportResult result =
        ExportDrawing(*host_, drawing, path, [](svgf::SVGExportOptions& o) { o.embedFonts = 1; });
    ASSERT_TRUE(result.ok) << result.message;
    const CallLog& log = host_->Log();
    EXPECT_EQ(log.Count("CreateFont"), 3u);
    EXPECT_EQ(log.Count("ReleaseFont"), 3u);
    EXPECT_EQ(log.Count("ReleaseGlyphOutline"), log.Count("GlyphOutline"));
    EXPECT_EQ(log.Count("ReleaseGlyph"), log.Count("GlyphOutline"));
    // Each glyph's two releases come together, the outline's first.
    const std::vector<std::string> names = log.Names();
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == "ReleaseGlyphOutline") {
            ASSERT_LT(i + 1, names.size());
            EXPECT_EQ(names[i + 1], "ReleaseGlyph");
        }
    }
    EXPECT_TRUE(Library().Counts().Balanced());
    EXPECT_GT(Library().Counts().glyphsCreated, 0u);

    const std::string document = ReadFile(path);
    // A run laid out with the font's own advances (its kerning included) is one piece.
    EXPECT_NE(document.find(">Wave AVA</text>"), std::string::npos) << document;
    // Regular and bold of one family are one font element listing both weights.
    EXPECT_NE(document.find("fullFontName=\"DejaVu Sans\" fontVariant=\"normal\" fontStyle=\"normal\" "
                            "fontWeight=\"400,700\""),
              std::string::npos)
        << document;
    EXPECT_NE(document.find("fullFontName=\"DejaVu Serif\" fontVariant=\"normal\" fontStyle=\"italic\""),
              std::string::npos);
    EXPECT_WELL_FORMED(document);
}

// The bundled sample, with and without embedding, in each style placement.
TEST_F(TextExport, TheSampleExportsAndRendersInEveryPlacement) {
    const DrawingResult sample = ReadDrawingFile(SVGFILTER_SOURCE_DIR "/examples/sample.json");
    ASSERT_TRUE(sample) << sample.error.Describe("sample.json");
    const bool render = Shell("command -v rsvg-convert >/dev/null 2>&1") == 0;
    for (uint32_t embed : {0u, 1u}) {
        for (uint32_t placement : {svgf::kCssInternal, svgf::kCssExternal, svgf::kCssStyleAttribute}) {
            SCOPED_TRACE("embed " + std::to_string(embed) + ", placement " + std::to_string(placement));
            const std::string name = "sample" + std::to_string(embed) + std::to_string(placement);
            const std::string path = folder_ / (name + ".svg");
            StandInHost host(module_->Entry());
            const ExportResult result =
                ExportDrawing(host, *sample.drawing, path, [&](svgf::SVGExportOptions& o) {
                    o.embedFonts = embed;
                    o.cssPlacement = placement;
                });
            ASSERT_TRUE(result.ok) << result.message;
            const std::string document = ReadFile(path);
            EXPECT_WELL_FORMED(document);
            EXPECT_NE(document.find("FISH &amp; CHIPS"), std::string::npos);
            EXPECT_NE(document.find("&#8211; caf\xE9 &amp; &lt;co&gt;"), std::string::npos);
            EXPECT_NE(document.find("<tspan rotate=\"-30\">"), std::string::npos);
            const bool fonts = document.find("<font id=\"FontID0\"") != std::string::npos;
            EXPECT_EQ(fonts, embed == 1);
            if (embed == 1) {
                EXPECT_NE(document.find("<glyph unicode=\"&amp;\">"), std::string::npos);
                const std::string sheet =
                    placement == svgf::kCssExternal ? ReadFile(folder_ / (name + ".css")) : document;
                const size_t face =
                    sheet.find("@font-face { font-family:\"FontID0\";src:url(\"#FontID0\")");
                EXPECT_EQ(face == std::string::npos, placement == svgf::kCssStyleAttribute);
                if (face != std::string::npos) {
                    EXPECT_LT(face, sheet.find(".fil0"));
                }
            }
            if (!render) continue;
            const std::string png = folder_ / (name + ".png");
            ASSERT_EQ(Shell("rsvg-convert -o '" + png + "' '" + path + "'"), 0);
            // The text is drawn: the heading's ink shows where it stands.
            Image image;
            ASSERT_TRUE(DecodeImageFile(png, image)) << png;
            int ink = 0;
            for (uint32_t y = 0; y < image.height / 4; ++y) {
                for (uint32_t x = 0; x < image.width; ++x) {
                    const uint8_t* p = image.pixel(x, y);
                    if (p[3] > 128 && p[2] > 100 && p[0] < 100) ++ink;  // the heading's blue
                }
            }
            EXPECT_GT(ink, 200) << png;
        }
    }
}

}  // namespace
}  // namespace host::media

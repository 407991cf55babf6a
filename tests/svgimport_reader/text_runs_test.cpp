// Texts as runs: one for each stretch of characters in its element's style,
// split where a character has an x, y, dx or dy value of its own, following
// the run before by its advance (half the size a character on the recording
// canvas), and moved by text-anchor over its chunk.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "reader_fixture.h"

namespace {

using namespace reader_test;

struct RunCase {
    const char* name;
    const char* content;
    std::vector<std::string> runs;  // "TEXT X,Y" in user units
};

// The drawn texts with their positions back in user units.
std::vector<std::string> Runs(const Read& read) {
    std::vector<std::string> out;
    for (const std::string& line : read.canvas.Lines("text")) {
        const size_t open = line.find('"');
        const size_t close = line.find('"', open + 1);
        const size_t comma = line.find(',', close);
        const size_t end = line.find(' ', comma);
        const long x = std::stol(line.substr(close + 2, comma - close - 2));
        const long y = std::stol(line.substr(comma + 1, end - comma - 1));
        out.push_back(line.substr(open + 1, close - open - 1) + " " + std::to_string(x / 1000) + "," +
                      std::to_string((254000 - y) / 1000));
    }
    return out;
}

class TextRuns : public testing::TestWithParam<RunCase> {};

TEST_P(TextRuns, ArePlacedOneAfterAnother) {
    Read read(Doc(GetParam().content));
    EXPECT_EQ(Runs(read), GetParam().runs);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextRuns,
    testing::Values(
        RunCase{"spans_follow", R"(<text x="10" y="20" font-size="10">A<tspan>BC</tspan>D</text>)",
                {"A 10,20", "BC 15,20", "D 25,20"}},
        RunCase{"absolute_span", R"(<text x="10" y="20" font-size="10">A<tspan x="50" y="40">B</tspan>C</text>)",
                {"A 10,20", "B 50,40", "C 55,40"}},
        RunCase{"shifted_span", R"(<text x="10" y="20" font-size="10">A<tspan dx="5" dy="-2">B</tspan>C</text>)",
                {"A 10,20", "B 20,18", "C 25,18"}},
        RunCase{"lists_place_each_character",
                R"(<text x="10 30 50" y="20,60" dx="1 2" font-size="10">AB</text>)", {"A 11,20", "B 32,60"}},
        RunCase{"run_goes_on_past_the_list",
                R"(<text x="10 20 30" y="20" font-size="10">ABCD</text>)", {"A 10,20", "B 20,20", "CD 30,20"}},
        RunCase{"kerned_shifts", R"(<text x="10" y="20" dx="0 1 -1" font-size="10">ABCD</text>)",
                {"A 10,20", "B 16,20", "CD 20,20"}},
        RunCase{"values_past_the_text_ignored", R"(<text x="10 20 30 40 50" y="20" font-size="10">AB</text>)",
                {"A 10,20", "B 20,20"}},
        RunCase{"outer_list_where_the_span_has_none",
                R"(<text x="10 20 30 40" y="20" font-size="10">A<tspan x="50">BC</tspan>D</text>)",
                {"A 10,20", "B 50,20", "C 30,20", "D 40,20"}},
        RunCase{"span_shifts_its_own_characters",
                R"(<text x="10" y="20" font-size="10"><tspan dy="1 2">ABC</tspan>D</text>)",
                {"A 10,21", "BC 15,23", "D 25,23"}},
        RunCase{"multibyte_characters_count_once",
                "<text x=\"10 20 30\" y=\"20\" font-size=\"10\">\xC3\xA9\xE2\x80\x9C!</text>",
                {"\xC3\xA9 10,20", "\xE2\x80\x9C 20,20", "! 30,20"}},
        RunCase{"anchor_per_positioned_character",
                R"(<text x="100 100" y="20 40" font-size="10" text-anchor="middle">AB</text>)",
                {"A 97,20", "B 97,40"}},
        RunCase{"space_between_spans", R"(<text x="10" y="20" font-size="10"><tspan>A</tspan> <tspan>B</tspan></text>)",
                {"A 10,20", "  15,20", "B 20,20"}},
        RunCase{"no_position_is_the_origin", R"(<text font-size="10" y="20">A</text>)", {"A 0,20"}},
        RunCase{"anchor_middle", R"(<text x="100" y="20" font-size="10" text-anchor="middle">ABCD</text>)",
                {"ABCD 90,20"}},
        RunCase{"anchor_end_over_the_chunk",
                R"(<text x="100" y="20" font-size="10" text-anchor="end">AB<tspan fill="red">CD</tspan></text>)",
                {"AB 80,20", "CD 90,20"}},
        RunCase{"anchor_per_chunk",
                R"(<text x="100" y="20" font-size="10" text-anchor="middle">AB<tspan x="100" y="40">CDEF</tspan></text>)",
                {"AB 95,20", "CDEF 90,40"}},
        RunCase{"anchor_of_the_chunks_first_span",
                R"(<text x="100" y="20" font-size="10">AB<tspan x="100" y="40" text-anchor="end">CD</tspan></text>)",
                {"AB 100,20", "CD 90,40"}},
        RunCase{"spaces_across_spans", "<text x=\"10\" y=\"20\" font-size=\"10\"> A <tspan> B </tspan> </text>",
                {"A  10,20", "B 20,20"}},
        RunCase{"leading_space_keeps_the_texts_place",
                "<text x=\"10\" y=\"20\" font-size=\"10\">\n  <tspan dy=\"5\">A</tspan></text>", {"A 10,25"}},
        RunCase{"empty_span_places_nothing", R"(<text x="10" y="20" font-size="10">A<tspan x="80"/>B</text>)",
                {"A 10,20", "B 15,20"}},
        RunCase{"nested_spans", R"(<text x="10" y="20" font-size="10"><tspan dx="2"><tspan dy="3">A</tspan>B</tspan></text>)",
                {"A 12,23", "B 17,23"}},
        RunCase{"tref_takes_the_character_data",
                R"(<defs><text id="t">R<tspan>ef</tspan></text></defs><text x="10" y="20" font-size="10">A<tref xlink:href="#t"/></text>)",
                {"A 10,20", "Ref 15,20"}},
        RunCase{"tref_to_nothing", R"(<text x="10" y="20" font-size="10">A<tref xlink:href="#none"/>B</text>)",
                {"A 10,20", "B 15,20"}},
        RunCase{"desc_and_title_draw_nothing",
                R"(<text x="10" y="20" font-size="10">A<desc>no</desc><title>no</title>B</text>)",
                {"A 10,20", "B 15,20"}},
        RunCase{"link_inside_text", R"(<text x="10" y="20" font-size="10">A<a xlink:href="#x">B</a></text>)",
                {"A 10,20", "B 15,20"}},
        RunCase{"text_path_along_a_line",
                R"(<defs><path id="p" d="M10 20 L100 20"/></defs><text font-size="10"><textPath xlink:href="#p">AB</textPath>C</text>)",
                {"A 10,20", "B 15,20", "C 20,20"}},
        RunCase{"text_path_up_a_line",
                R"(<defs><path id="p" d="M10 100 L10 20"/></defs><text font-size="10"><textPath xlink:href="#p">AB</textPath></text>)",
                {"A 10,100", "B 10,95"}},
        RunCase{"text_path_offset_and_its_end",
                R"(<defs><path id="p" d="M10 20 L30 20"/></defs><text font-size="10"><textPath xlink:href="#p" startOffset="50%">ABCD</textPath></text>)",
                {"A 20,20", "B 25,20"}},
        RunCase{"text_path_anchor_middle",
                R"(<defs><path id="p" d="M0 20 L100 20"/></defs><text font-size="10" text-anchor="middle"><textPath xlink:href="#p" startOffset="50">AB</textPath></text>)",
                {"A 45,20", "B 50,20"}},
        RunCase{"text_path_of_a_moved_path",
                R"svg(<defs><path id="p" d="M0 0 L50 0" transform="translate(10 30)"/></defs><text font-size="10"><textPath xlink:href="#p">AB</textPath></text>)svg",
                {"A 10,30", "B 15,30"}},
        RunCase{"text_path_to_nothing",
                R"(<text font-size="10" x="10" y="20">A<textPath xlink:href="#none">B</textPath>C</text>)",
                {"A 10,20", "C 15,20"}},
        RunCase{"only_spaces", R"(<text x="10" y="20"> <tspan>  </tspan> </text>)", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextRunStyles, EachRunHasItsElementsStyle) {
    Read read(Doc(R"(<text x="10" y="20" font-size="10" fill="#FF0000">A<tspan fill="#0000FF" font-weight="700"
font-style="italic" font-size="20" font-family="DejaVu Serif">B</tspan>C</text>)"));
    const auto texts = read.canvas.Lines("text");
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], "text \"A\" 10000,234000 size=10000 weight=0 fill=#ff0000");
    EXPECT_EQ(texts[1], "text \"B\" 15000,234000 size=20000 weight=1 italic family=DejaVu Serif fill=#0000ff");
    // B is ten units wide at its size.
    EXPECT_EQ(texts[2], "text \"C\" 25000,234000 size=10000 weight=0 fill=#ff0000");
}

// Keeps each text's matrix beside its line.
class MatrixCanvas : public RecordingCanvas {
  public:
    int32_t DrawText(const SVG::WText& t) override {
        matrices.push_back(t.matrix);
        return RecordingCanvas::DrawText(t);
    }
    std::vector<SVG::WMatrix> matrices;
};

// Each angle turns its character about the character's origin; the last
// angle of a list turns the rest of its element's characters; the run
// after them follows their advances, unturned.
TEST(TextRunRotation, TurnsEachCharacterAboutItsOrigin) {
    SvgDom dom(Doc(R"(<text x="10" y="20" font-size="10"><tspan rotate="90 45">ABC</tspan>D</text>)"));
    AttributeStyles styles;
    SVG::WParser reader(dom.Document(), &styles);
    MatrixCanvas canvas;
    reader.Parse(&canvas);
    ASSERT_EQ(canvas.matrices.size(), 4u);
    const double angles[] = {90, 45, 45};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        // Turned clockwise on the page (user y runs down), the origin kept.
        const SVG::WMatrix& turned = canvas.matrices[i];
        const double x = 10 + 5.0 * static_cast<double>(i);
        const SVG::WPoint origin = turned.Transform({x, 20});
        EXPECT_NEAR(origin.x, x * 1000, 1e-6);
        EXPECT_NEAR(origin.y, 234000, 1e-6);
        const SVG::WPoint along = turned.TransformVector({1, 0});
        const double a = angles[i] * std::numbers::pi / 180;
        EXPECT_NEAR(along.x, 1000 * std::cos(a), 1e-6);
        EXPECT_NEAR(along.y, -1000 * std::sin(a), 1e-6);
    }
    EXPECT_EQ(canvas.matrices[3], reader.Current());
    EXPECT_EQ(canvas.Lines("text")[3].substr(0, 22), "text \"D\" 25000,234000 ");
}

}  // namespace

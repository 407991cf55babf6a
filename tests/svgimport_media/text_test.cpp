// Texts through the canvas on the stand-in host's fonts: the frame and box
// the host is given, the font and style word, the character count of
// decoded text, and a turned text in a turned group rendered where an SVG
// renderer puts it.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "canvas_fixtures.h"
#include "golden.h"
#include "import_calls.h"
#include "scene_render.h"

namespace {

using namespace SVG;
using namespace canvas_test;

class TextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (host.Fonts() == nullptr) GTEST_SKIP() << "no fonts";
    }
    std::string Log() const { return import.Log().Text(); }
    std::string LineOf(const std::string& entry) const {
        const std::string log = Log();
        const size_t at = log.find(entry);
        if (at == std::string::npos) return {};
        return log.substr(at, log.find('\n', at) - at);
    }

    host::StandInHost host{&import_test::NoModule};
    host::import::ImportHost import{host};
};

TEST_F(TextTest, AOneCharacterTextsBoxIsTheFontSizeAroundIt) {
    WithCanvas(host, [](WCanvas_UDI& canvas) {
        WText text;
        text.matrix = Root();
        text.x = 100000;
        text.y = 200000;
        text.text.Assign("W");
        text.presentation.font = std::make_unique<WFont>();
        text.presentation.font->family.Assign("DejaVu Sans");
        text.presentation.font->size = {25400.7, unit::kHost};
        EXPECT_EQ(canvas.DrawText(text), 1);
    });
    EXPECT_TRUE(import.Balance().Balanced()) << import.Balance().problems.front();
    // The frame: the root's mirror undone, the anchor point its origin.
    EXPECT_NE(LineOf("CreateFont ").find("size=25400 transform=[1 0 100000; 0 1 200000]"), std::string::npos)
        << LineOf("CreateFont ");
    EXPECT_NE(Log().find("TransformPoints matrix=[1 0 100000; 0 1 200000] count=4 points=[(-25400,25400) "
                         "(50801,25400) (50801,-25400) (-25400,-25400)] -> [(74600,225400) (150801,225400) "
                         "(150801,174600) (74600,174600)]"),
              std::string::npos)
        << Log();
    const std::string text = LineOf("Text handle");
    EXPECT_NE(text.find("size=25400 word=0 transform=[1 0 100000; 0 1 200000] origins=[(0,0)] text=\"W\" count=1 "
                        "box={left=74600 top=225400 right=150801 bottom=174600}"),
              std::string::npos)
        << text;
}

// One character each, so that only the host's advance (written as "N")
// depends on the installed fonts: upright, turned in a turned group, bold
// italic in a family, and in the host's own font.
TEST_F(TextTest, GiveTheirCallLog) {
    WithCanvas(host, [](WCanvas_UDI& canvas) {
        Builder b;
        auto upright = b.Text(20, 40, "A", "DejaVu Sans", 20);
        upright->presentation.fill = Colour(0x000080);
        canvas.DrawText(*upright);
        b.Push(ParseTransform("rotate(20 90 90)"));
        b.Push(ParseTransform("rotate(15 30 120) scale(1.5 1)"));
        auto turned = b.Text(30, 120, "B", "DejaVu Sans", 24);
        canvas.DrawText(*turned);
        b.Pop();
        b.Pop();
        auto styled = b.Text(100, 40, "C", "DejaVu Serif", 12);
        styled->presentation.font->weight = 1;
        styled->presentation.font->italic = true;
        canvas.DrawText(*styled);
        auto plain = b.Text(100, 100, "D", "", 12);
        canvas.DrawText(*plain);
    });
    EXPECT_TRUE(import.Balance().Balanced()) << import.Balance().problems.front();
    std::string log = Log();
    for (size_t at = log.find("advances=["); at != std::string::npos; at = log.find("advances=[", at + 1)) {
        const size_t end = log.find(']', at);
        log.replace(at + 10, end - at - 10, "N");
    }
    testsupport::ExpectGolden("svgimport/texts.log", log);
}

TEST_F(TextTest, TheLastCharactersAdvanceStaysOutOfTheBox) {
    WithCanvas(host, [](WCanvas_UDI& canvas) {
        Builder b;
        auto text = b.Text(0, 90, "AB", "DejaVu Sans", 9);  // 25400 host units
        canvas.DrawText(*text);
    });
    // The advances the host gave, and the origins and box made of them.
    const std::string set = LineOf("SetText ");
    const size_t at = set.find("advances=[");
    ASSERT_NE(at, std::string::npos) << set;
    int a = 0, b = 0;
    ASSERT_EQ(std::sscanf(set.c_str() + at, "advances=[%d %d]", &a, &b), 2) << set;
    const std::string text = LineOf("Text handle");
    EXPECT_NE(text.find("origins=[(0,0) (" + std::to_string(a) + ",0)]"), std::string::npos) << text;
    EXPECT_NE(Log().find("count=4 points=[(-25400,25400) (" + std::to_string(a + 50800) + ",25400)"),
              std::string::npos);
}

TEST_F(TextTest, TheCountIsOfCharactersNotBytes) {
    WithCanvas(host, [](WCanvas_UDI& canvas) {
        Builder b;
        auto text = b.Text(10, 90, "gr\xC3\xBC\xC3\x9F\x65", "DejaVu Sans", 9);
        canvas.DrawText(*text);
    });
    EXPECT_NE(LineOf("Text handle").find("text=\"gr\xC3\xBC\xC3\x9F\x65\" count=5"), std::string::npos)
        << LineOf("Text handle");
}

TEST_F(TextTest, FontsByNameOrTheHostsOwnAndNoDecorationBit) {
    WithCanvas(host, [](WCanvas_UDI& canvas) {
        Builder b;
        auto named = b.Text(10, 90, "a", "DejaVu Serif", 9);
        named->presentation.font->weight = 1;
        named->presentation.font->italic = true;
        named->presentation.font->decoration = true;
        canvas.DrawText(*named);
        auto plain = b.Text(10, 90, "b", "", 9);
        canvas.DrawText(*plain);
        WText fontless;
        fontless.text.Assign("c");
        canvas.DrawText(fontless);  // no font: nothing drawn
    });
    EXPECT_NE(LineOf("FontByName ").find("family=\"DejaVu Serif\""), std::string::npos);
    EXPECT_NE(LineOf("FontByDescription ").find("style=0x40"), std::string::npos) << LineOf("FontByDescription ");
    const std::string log = Log();
    EXPECT_NE(log.find("Text handle=0x1 attributes"), std::string::npos);
    EXPECT_NE(log.find("style=0x2000 size=25400"), std::string::npos) << log;
    EXPECT_EQ(log.find("text=\"c\""), std::string::npos);
    EXPECT_TRUE(import.Balance().Balanced());
}

// Turned twice (the group's turn and the text's own), and stretched: the
// host's rendering and the SVG renderer's put the ink in the same place,
// turned the same way.
class TextRender : public scene_render::RenderTest {};

TEST_F(TextRender, ATurnedTextInATurnedGroupLandsWhereSvgPutsIt) {
    host::StandInHost host{&import_test::NoModule};
    if (host.Fonts() == nullptr) GTEST_SKIP() << "no fonts";
    host::import::ImportHost import{host};
    const char* svg = R"svg(<text x="20" y="40" font-family="DejaVu Sans" font-size="20" transform="scale(1.5 1)">Wide</text>
<g transform="rotate(20 90 90)"><text x="30" y="120" font-family="DejaVu Sans" font-size="24" transform="rotate(15 30 120)">Turned</text></g>)svg";
    WithCanvas(host, [](WCanvas_UDI& canvas) {
        Builder b;
        b.Push(ParseTransform("scale(1.5 1)"));
        auto wide = b.Text(20, 40, "Wide", "DejaVu Sans", 20);
        b.Pop();
        wide->presentation.fill = Colour(0);
        canvas.DrawText(*wide);
        b.Push(ParseTransform("rotate(20 90 90)"));
        WGroup group;
        group.matrix = b.current;
        canvas.BeginGroup(group);
        b.Push(ParseTransform("rotate(15 30 120)"));
        auto turned = b.Text(30, 120, "Turned", "DejaVu Sans", 24);
        turned->presentation.fill = Colour(0);
        canvas.DrawText(*turned);
        b.Pop();
        canvas.EndGroup(group);
        b.Pop();
    });
    import.SetPage(svgf::HostRect{0, kPage, kPage, 0});
    ASSERT_TRUE(import.Balance().Balanced());
    const Fixture scene{"text", svg, {}};
    const scene_render::Comparison c = Compare(import, Document(scene));
    ASSERT_FALSE(c.got.empty());
    for (const auto& [top, bottom] : {std::pair<uint32_t, uint32_t>{0, 60}, {60, 180}}) {
        const scene_render::Ink got = scene_render::InkOf(c.got, 0, top, 180, bottom);
        const scene_render::Ink want = scene_render::InkOf(c.want, 0, top, 180, bottom);
        ASSERT_GT(want.count, 50);
        EXPECT_NEAR(got.count, want.count, want.count * 0.25) << top << "\n" << c.exported;
        EXPECT_NEAR(got.x, want.x, 3) << top;
        EXPECT_NEAR(got.y, want.y, 3) << top;
        EXPECT_NEAR(got.angle, want.angle, 3) << top;
    }
    // The turned text runs down to the right at about 35 degrees.
    EXPECT_NEAR(scene_render::InkOf(c.got, 0, 60, 180, 180).angle, -35, 6);
}

}  // namespace

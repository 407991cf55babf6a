// The host canvas against the stand-in host's import side: the call log of
// every scene (golden files), and what the canvas sends in the cases that
// matter: rounding, styles, links, clips, refusals, pattern recursion and
// the callback record.
#include "svgimport/canvas.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "canvas_fixtures.h"
#include "golden.h"
#include "host/drawing_reader.h"
#include "import_calls.h"

namespace {

using namespace SVG;
using namespace canvas_test;
using host::import::ImportHost;

class CanvasTest : public ::testing::Test {
  protected:
    host::StandInHost host{&import_test::NoModule};
    ImportHost import{host};

    std::string Log() const { return import.Log().Text(); }
    host::Drawing ReadBack() {
        const host::DrawingResult read = host::ReadDrawing(import.Description());
        EXPECT_TRUE(read) << read.error.Describe("description");
        return read ? *read.drawing : host::Drawing{};
    }
    // The lines of the log that start with `entry` (after the indent).
    std::vector<std::string> Lines(const std::string& entry) const {
        std::vector<std::string> out;
        const std::string log = Log();
        size_t start = 0;
        while (start < log.size()) {
            size_t end = log.find('\n', start);
            if (end == std::string::npos) end = log.size();
            std::string line = log.substr(start, end - start);
            const size_t text = line.find_first_not_of(' ');
            if (text != std::string::npos && line.compare(text, entry.size(), entry) == 0) out.push_back(line);
            start = end + 1;
        }
        return out;
    }
};

class Scenes : public CanvasTest, public ::testing::WithParamInterface<Fixture> {};

TEST_P(Scenes, GiveTheirCallLog) {
    Play(host, import, GetParam());
    const auto balance = import.Balance();
    EXPECT_TRUE(balance.Balanced()) << balance.problems.front();
    EXPECT_TRUE(import.Warnings().empty()) << import.Warnings().front();
    testsupport::ExpectGolden(std::string("svgimport/") + GetParam().name + ".log", Log());
}

INSTANTIATE_TEST_SUITE_P(Fixtures, Scenes, ::testing::ValuesIn(Fixtures()), [](const auto& info) {
    std::string name = info.param.name;
    for (char& c : name) c = c == '-' ? '_' : c;
    return name;
});

// A rectangle's centre and box round half away from zero.
TEST_F(CanvasTest, RectanglesRoundHalfAwayFromZero) {
    WithCanvas(host, [](WCanvas_UDI& canvas) {
        WRectangle left;
        left.x = -5;  // centre -2.5
        left.y = 0.5;
        left.width = 5;
        left.height = 2;
        canvas.DrawRectangle(left);
        WRectangle right = {};
        right.x = 0;  // centre 2.5
        right.y = -1.5;
        right.width = 5;
        right.height = 1;
        canvas.DrawRectangle(right);
    });
    const auto lines = Lines("Rectangle ");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("centre=(-3,2) size=(5,2)"), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("box={left=-5 top=3 right=0 bottom=1}"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("centre=(3,-1) size=(5,1)"), std::string::npos) << lines[1];
    EXPECT_NE(lines[1].find("box={left=0 top=-1 right=5 bottom=-2}"), std::string::npos) << lines[1];
}

TEST_F(CanvasTest, StylesBecomeTheHostsRecords) {
    WithCanvas(host, [](WCanvas_UDI& canvas) {
        WEllipse plain;
        plain.rx = plain.ry = 10;
        canvas.DrawEllipse(plain);  // no fill, no stroke
        WEllipse opaque = {};
        opaque.rx = opaque.ry = 10;
        opaque.presentation.fill = Colour(0x102030);
        opaque.presentation.stroke = Stroke(0x405060, 1, cap::kRound, join::kBevel);
        canvas.DrawEllipse(opaque);
        WEllipse clear = {};
        clear.rx = clear.ry = 10;
        clear.presentation.fill = Colour(0x000000, 0);
        clear.presentation.stroke = Stroke(0, 1, 7, -1);  // codes the host has not: 0
        canvas.DrawEllipse(clear);
    });
    const auto lines = Lines("Ellipse ");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find("fill={kind=0 colour={model=5 palette=5 rgb=#000000}} outline={kind=1 cap=0 join=0 "
                            "width=762"),
              std::string::npos)
        << lines[0];
    EXPECT_NE(lines[0].find("transparency=null hyperlink=null"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("fill={kind=1 colour={model=5 palette=5 rgb=#102030}} outline={kind=2 cap=1 join=2 "
                            "width=2822 word12=100 word16=0 transform=[1 0 0; 0 1 0] colour={model=5 palette=5 "
                            "rgb=#405060}"),
              std::string::npos)
        << lines[1];
    EXPECT_NE(lines[1].find("transparency=null"), std::string::npos) << lines[1];
    // A wholly transparent fill under an opaque outline: the outline alone,
    // opaque, without the fill.
    EXPECT_NE(lines[2].find("fill={kind=0 colour={model=5 palette=5 rgb=#000000}} outline={kind=2 cap=0 join=0"),
              std::string::npos)
        << lines[2];
    EXPECT_NE(lines[2].find("transparency=null"), std::string::npos) << lines[2];
}

// How an object's opacities reach the host: one object while its paints
// are opaque, else the fill and then the outline as objects of their own;
// a part of no opacity, a hidden object and one clipped away are not sent.
struct PassRow {
    const char* name;
    uint16_t fillOpacity;    // 0..255; 999: no fill
    uint16_t strokeOpacity;  // 0..255; 999: no stroke
    double opacity;          // the object's, its groups' included
    bool visible;
    bool clippedAway;
    // Per object sent: its fill kind, outline kind and transparency start
    // ("-" for none).
    std::vector<std::string> sent;
};

class Passes : public CanvasTest, public ::testing::WithParamInterface<PassRow> {};

TEST_P(Passes, SendTheObjectOnceOrAsFillAndOutline) {
    const PassRow& row = GetParam();
    WClippath nothing;
    nothing.clipsAll = true;
    WithCanvas(host, [&](WCanvas_UDI& canvas) {
        WEllipse e;
        e.rx = e.ry = 10;
        if (row.fillOpacity != 999) e.presentation.fill = Colour(0x102030, row.fillOpacity);
        if (row.strokeOpacity != 999) {
            e.presentation.stroke = Stroke(0x405060, 1);
            e.presentation.stroke->opacity = row.strokeOpacity;
        }
        e.presentation.opacity = row.opacity;
        e.presentation.visible = row.visible;
        if (row.clippedAway) e.presentation.clipPath = std::make_unique<WClippath>(std::move(nothing));
        canvas.DrawEllipse(e);
    });
    const auto lines = Lines("Ellipse ");
    ASSERT_EQ(lines.size(), row.sent.size()) << Log();
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const auto field = [&](const std::string& name) {
            const size_t at = line.find(name + "=");
            if (at == std::string::npos) return std::string("?");
            const size_t from = at + name.size() + 1;
            return line.substr(from, line.find_first_of(" }", from) - from);
        };
        const std::string kinds = line.substr(line.find("fill={kind=") + 11, 1) + " " +
                                  line.substr(line.find("outline={kind=") + 14, 1);
        const std::string start = line.find("transparency=null") != std::string::npos ? "-" : field("start");
        EXPECT_EQ(kinds + " " + start, row.sent[i]) << line;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Opacities, Passes,
    ::testing::Values(PassRow{"opaque", 255, 255, 1, true, false, {"1 2 -"}},
                      PassRow{"object_half", 255, 255, 0.5, true, false, {"1 2 49.80392157"}},
                      PassRow{"fill_only_translucent", 51, 999, 1, true, false, {"1 1 80"}},
                      PassRow{"fill_under_opaque_outline", 51, 255, 1, true, false, {"1 1 80", "0 2 -"}},
                      PassRow{"outline_over_opaque_fill", 255, 51, 0.5, true, false, {"1 1 49.80392157", "0 2 89.80392157"}},
                      PassRow{"equal_paint_opacities", 128, 128, 1, true, false, {"1 1 49.80392157", "0 2 49.80392157"}},
                      PassRow{"clear_fill", 0, 255, 1, true, false, {"0 2 -"}},
                      PassRow{"clear_outline", 255, 0, 1, true, false, {"1 1 -"}},
                      PassRow{"outline_only", 999, 128, 1, true, false, {"0 2 49.80392157"}},
                      PassRow{"no_paint", 999, 999, 1, true, false, {"0 1 -"}},
                      PassRow{"object_clear", 255, 255, 0, true, false, {}},
                      PassRow{"hidden", 255, 255, 1, false, false, {}},
                      PassRow{"clipped_away", 255, 255, 1, true, true, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// A dashed stroke's entries go to the outline record (type 4, the count at
// byte 100, the entries from byte 102); a solid one stays type 2.
TEST_F(CanvasTest, ADashedStrokeFillsTheRecordsDashFields) {
    WithCanvas(host, [](WCanvas_UDI& canvas) {
        WEllipse e;
        e.rx = e.ry = 10;
        e.presentation.stroke = Stroke(0, 1);
        e.presentation.stroke->dashes = {3, 1, 0, 2};
        canvas.DrawEllipse(e);
    });
    const auto lines = Lines("Ellipse ");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("outline={kind=4 "), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find(" dashes=4:[3 1 0 2] "), std::string::npos) << lines[0];
}

// A gradient's stop opacities: one they all share is the object's uniform
// transparency (times its opacity), different ones a fountain of levels.
TEST_F(CanvasTest, StopOpacitiesBecomeTheTransparency) {
    WLinearGradient even, varying;
    for (WLinearGradient* g : {&even, &varying}) {
        g->x1 = -10;
        g->x2 = 10;
    }
    even.SetStop(0, {WColour{255, 0, 0}, 128});
    even.SetStop(255, {WColour{0, 0, 255}, 128});
    varying.SetStop(0, {WColour{255, 0, 0}, 255});
    varying.SetStop(255, {WColour{0, 0, 255}, 0});
    WithCanvas(host, [&](WCanvas_UDI& canvas) {
        for (const WLinearGradient* g : {&even, &varying}) {
            WEllipse e;
            e.rx = e.ry = 10;
            e.presentation.fill = Reference(g);
            e.presentation.opacity = 0.5;
            canvas.DrawEllipse(e);
        }
    });
    const auto lines = Lines("Ellipse ");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("fill={kind=2 "), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("transparency={type=5 fill={kind=1 "), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find(" start=74.90196078 "), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("transparency={type=5 fill={kind=2 "), std::string::npos) << lines[1];
    EXPECT_NE(lines[1].find(" start=0 end=100"), std::string::npos) << lines[1];
    // The levels: the opaque stop at the object's half, the clear one clear.
    EXPECT_NE(lines[1].find("stops=2:[{model=9 palette=5 grey=127}@0 {model=9 palette=5 grey=255}@100]"),
              std::string::npos)
        << lines[1];
}

TEST_F(CanvasTest, APrimitiveInsideTwoLinksCarriesTheInnerOne) {
    Play(host, import, Fixtures()[5]);
    ASSERT_STREQ(Fixtures()[5].name, "anchors");
    const host::Drawing drawing = ReadBack();
    const auto& objects = drawing.layers.at(0).objects;
    ASSERT_EQ(objects.size(), 3u);
    const char* expected[] = {"https://example.org/outer", "https://example.org/inner", "https://example.org/outer"};
    for (size_t i = 0; i < 3; ++i) {
        ASSERT_EQ(objects[i].kind, host::ObjectKind::kLink);
        EXPECT_EQ(objects[i].link->url, expected[i]);
        EXPECT_EQ(objects[i].objects.size(), 1u);
    }
}

TEST_F(CanvasTest, ALinkWithoutTargetLinksNothing) {
    WithCanvas(host, [](WCanvas_UDI& canvas) {
        WAnchor outer, empty;
        outer.href.Assign("#outer");
        canvas.BeginAnchor(outer);
        canvas.BeginAnchor(empty);
        WRectangle r;
        r.width = r.height = 100;
        canvas.DrawRectangle(r);
        EXPECT_EQ(canvas.AnchorDepth(), 2u);
        canvas.EndAnchor();
        canvas.EndAnchor();
        canvas.EndAnchor();  // one too many changes nothing
        EXPECT_EQ(canvas.AnchorDepth(), 0u);
    });
    EXPECT_NE(Lines("Rectangle ").at(0).find("hyperlink=null"), std::string::npos);
}

TEST_F(CanvasTest, AClipPathOfTwoShapesIsPushedTwiceAndPoppedTwice) {
    Play(host, import, Fixtures()[6]);
    ASSERT_STREQ(Fixtures()[6].name, "clips");
    // The last rectangle: its two clip shapes around it.
    const std::string log = Log();
    const size_t rectangle = log.rfind("Rectangle ");
    ASSERT_NE(rectangle, std::string::npos);
    const std::string before = log.substr(0, rectangle);
    EXPECT_NE(before.rfind("PushClip handle=0x1 clip={kind=4 count=5"), std::string::npos);
    ASSERT_GE(rectangle, 5u);
    EXPECT_EQ(log.substr(rectangle - 5, 5), "\n    ");  // inside both
    EXPECT_EQ(Lines("PushClip ").size(), 5u);
    EXPECT_EQ(Lines("PopClip ").size(), 5u);
}

int32_t Refuse(void* value) {
    ++*static_cast<int*>(value);
    return 0;
}

TEST_F(CanvasTest, ARefusedPrimitiveSendsNothing) {
    int asked = 0;
    std::vector<int32_t> results;
    WithCanvas(
        host,
        [&](WCanvas_UDI& canvas) {
            WRectangle r;
            r.presentation.clipPath = std::make_unique<WClippath>();
            r.presentation.clipPath->shapes.push_back(std::make_unique<WRectangle>());
            results.push_back(canvas.DrawRectangle(r));
            results.push_back(canvas.DrawEllipse(WEllipse{}));
            results.push_back(canvas.DrawPath(WPath{}));
            results.push_back(canvas.DrawText(WText{}));
            results.push_back(canvas.DrawImage(WImage{}));
            WGroup group;
            results.push_back(canvas.BeginGroup(group));  // groups are not asked
            results.push_back(canvas.EndGroup(group));
        },
        nullptr, &Refuse, &asked);
    EXPECT_EQ(results, (std::vector<int32_t>{0, 0, 0, 0, 0, 1, 1}));
    EXPECT_EQ(asked, 5);
    EXPECT_TRUE(Lines("PushClip").empty());
    EXPECT_TRUE(Lines("MatrixIdentity").empty());
    EXPECT_EQ(Lines("BeginGroup").size(), 1u);
}

TEST_F(CanvasTest, APathWithoutPointsIsNotSent) {
    WithCanvas(host, [](WCanvas_UDI& canvas) {
        WPath empty;
        empty.presentation.fill = Colour(0xFF0000);
        EXPECT_EQ(canvas.DrawPath(empty), 1);
    });
    EXPECT_TRUE(Lines("Path ").empty());
    EXPECT_TRUE(import.Warnings().empty());
}

TEST_F(CanvasTest, TheCallbackRecordIsTheHostsAgainAfterTheCanvas) {
    WithCanvas(host, [&](WCanvas_UDI&) {});
    EXPECT_EQ(Log(),
              "ExchangeCallback handle=0x1 install={callback=module words=[0 0 0 0]} -> previous={callback=host "
              "words=[0 0 0 0]}\n"
              "ExchangeCallback handle=0x1 install={callback=host words=[0 0 0 0]} -> previous={callback=module "
              "words=[0 0 0 0]}\n");
    EXPECT_TRUE(import.Balance().Balanced());
    // A call with no tile, or a tile without a canvas, draws nothing.
    EXPECT_EQ(WCanvasHostCallback(0x10001, 0, 0), 0);
    const WPatternTile orphan{};
    EXPECT_EQ(WCanvasHostCallback(0x10001, reinterpret_cast<uintptr_t>(&orphan), 0), 0);
}

// A pattern whose tile uses the same pattern: the inner use gets no fill
// and the tile is drawn once, not again and again through the host.
TEST_F(CanvasTest, APatternInsideItsOwnTileIsDrawnOnce) {
    Builder b;
    TileReader reader;
    WithCanvas(
        host,
        [&](WCanvas_UDI& canvas) {
            WPattern* self = nullptr;
            self = b.Pattern(0, 0, 30, 30, [&](WCanvas& c) {
                // Each use of the element builds a new object; the element
                // is the same.
                auto again = std::make_unique<WPattern>();
                again->x = self->x;
                again->y = self->y;
                again->width = self->width;
                again->height = self->height;
                again->node = self->node;
                again->element = self->element;
                auto inner = b.Rect(0, 0, 15, 15);
                inner->presentation.fill = Reference(b.definitions.Keep(std::move(again)));
                c.DrawRectangle(*inner);
            });
            self->element = self;
            auto r = b.Rect(0, 0, 90, 90);
            r->presentation.fill = Reference(self);
            canvas.DrawRectangle(*r);
        },
        &reader);
    EXPECT_EQ(reader.tilesDrawn, 1);
    ASSERT_EQ(Lines("DrawTile ").size(), 1u);
    const auto rectangles = Lines("Rectangle ");
    ASSERT_EQ(rectangles.size(), 2u);
    EXPECT_NE(rectangles[0].find("handle=0x1 attributes={fill={kind=10"), std::string::npos) << rectangles[0];
    EXPECT_NE(rectangles[1].find("handle=0x10001 attributes={fill={kind=0"), std::string::npos) << rectangles[1];
    EXPECT_TRUE(import.Balance().Balanced());
}

// Links do not reach into a pattern's tile; they are back after it.
TEST_F(CanvasTest, ATileIsDrawnOnItsOwnHandleWithoutTheLinks) {
    Builder b;
    TileReader reader;
    WithCanvas(
        host,
        [&](WCanvas_UDI& canvas) {
            WPattern* tile = b.Pattern(0, 0, 30, 30, [&](WCanvas& c) {
                EXPECT_EQ(static_cast<WCanvas_UDI&>(c).CurrentHandle(), 0x10001u);
                EXPECT_EQ(static_cast<WCanvas_UDI&>(c).AnchorDepth(), 0u);
                auto dot = b.Ellipse(15, 15, 5, 5);
                c.DrawEllipse(*dot);
            });
            WAnchor link;
            link.href.Assign("https://example.org/");
            canvas.BeginAnchor(link);
            auto r = b.Rect(0, 0, 90, 90);
            r->presentation.fill = Reference(tile);
            canvas.DrawRectangle(*r);
            EXPECT_EQ(canvas.AnchorDepth(), 1u);
            EXPECT_EQ(canvas.CurrentHandle(), 0x1u);
            canvas.EndAnchor();
        },
        &reader);
    EXPECT_NE(Lines("Ellipse ").at(0).find("hyperlink=null"), std::string::npos);
    EXPECT_NE(Lines("Rectangle ").at(0).find("hyperlink={text=\"https://example.org/\""), std::string::npos);
}

}  // namespace

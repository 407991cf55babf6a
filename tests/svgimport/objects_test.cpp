// The drawing objects: the import's string and its wide copy, path kind
// bytes and closing, boxes and ellipses placed under turned and scaled
// matrices, font style words, and who destroys what.
#include "svgimport/objects.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

#include "svgimport/canvas.h"

namespace {

using namespace SVG;

std::u16string Wide(const WString& s) {
    const uint16_t* w = s.Wide();
    return w == nullptr ? std::u16string() : std::u16string(reinterpret_cast<const char16_t*>(w), s.WideLength());
}

struct WideRow {
    const char* name;
    std::string narrow;
    std::u16string wide;
};

void PrintTo(const WideRow& row, std::ostream* out) {
    *out << row.name;
}

class WideCopies : public ::testing::TestWithParam<WideRow> {};

TEST_P(WideCopies, DecodeWithoutALocale) {
    const WString s(GetParam().narrow);
    EXPECT_EQ(Wide(s), GetParam().wide);
    EXPECT_EQ(s.WideLength(), GetParam().wide.size());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WideCopies,
    ::testing::Values(WideRow{"Ascii", "Hello", u"Hello"},
                      WideRow{"Utf8", "gr\xC3\xBC\xC3\x9F", u"gr\u00FC\u00DF"},  // five characters, seven bytes
                      WideRow{"ThreeBytes", "\xE2\x82\xAC 5", u"\u20AC 5"},
                      WideRow{"BeyondThePlane", "\xF0\x9F\x98\x80", u"\U0001F600"},
                      // Bytes that are no UTF-8 are ISO-8859-1 characters.
                      WideRow{"Latin1", "caf\xE9", u"caf\u00E9"},
                      WideRow{"CutSequence", "\xC3", u"\u00C3"},
                      WideRow{"Overlong", "\xC0\xAF", u"\u00C0\u00AF"},
                      WideRow{"Surrogate", "\xED\xA0\x80", u"\u00ED\u00A0\u0080"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WStringTest, EmptyHasNoTextAndNoWideCopy) {
    const WString empty;
    EXPECT_EQ(empty.Narrow(), nullptr);
    EXPECT_EQ(empty.Wide(), nullptr);
    EXPECT_EQ(empty.WideLength(), 0u);
    EXPECT_EQ(WString(static_cast<const char*>(nullptr)).Narrow(), nullptr);
}

TEST(WStringTest, AssignCopiesAndSelfAssignmentKeepsTheText) {
    WString a("link");
    const uint16_t* wide = a.Wide();
    a.Assign(a);
    EXPECT_EQ(a.Text(), "link");
    EXPECT_EQ(a.Wide(), wide);
    WString b;
    b.Assign(a);
    EXPECT_EQ(Wide(b), u"link");
    b.Assign(std::string_view("other"));
    EXPECT_EQ(Wide(b), u"other");
    EXPECT_EQ(Wide(a), u"link");
}

struct CollapseRow {
    const char* name;
    const char* given;
    const char* collapsed;
};

void PrintTo(const CollapseRow& row, std::ostream* out) {
    *out << row.name;
}

class Collapse : public ::testing::TestWithParam<CollapseRow> {};

TEST_P(Collapse, WhiteSpace) {
    WString s(GetParam().given);
    s.Wide();
    s.CollapseWhitespace();
    EXPECT_EQ(s.Text(), GetParam().collapsed);
    EXPECT_EQ(Wide(s), WideOf(GetParam().collapsed));  // the old wide copy is gone
}

INSTANTIATE_TEST_SUITE_P(Rows, Collapse,
                         ::testing::Values(CollapseRow{"Runs", "  Hello \n  world  ", "Hello world"},
                                           CollapseRow{"Tabs", "\ta\t\r\nb", "a b"},
                                           CollapseRow{"OnlyBlanks", " \t \n", ""},
                                           CollapseRow{"Nothing", "x", "x"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WStringTest, Latin1ForTheHostsFamilies) {
    EXPECT_EQ(Latin1Of("Caf\xC3\xA9 Sans"), "Caf\xE9 Sans");
    EXPECT_EQ(Latin1Of("\xE2\x82\xAC"), "?");
}

TEST(WPathTest, KindBytesOfSegmentCodes) {
    EXPECT_EQ(WPath::KindOf(segment::kMove), 0x04);
    EXPECT_EQ(WPath::KindOf(segment::kLine), 0x44);
    EXPECT_EQ(WPath::KindOf(segment::kCurveEnd), 0x84);
    EXPECT_EQ(WPath::KindOf(segment::kControl), 0xC0);
}

TEST(WPathTest, ClosingOnTheFirstPointTakesItsOnCurveBit) {
    WPath path;
    path.AddPoint({0, 0}, segment::kMove);
    path.AddPoint({10, 0}, segment::kControl);
    path.AddPoint({10, 10}, segment::kControl);
    path.AddPoint({0, 10}, segment::kCurveEnd);
    path.AddPoint({-10, 0}, segment::kLine);
    path.AddPoint({0, 0}, segment::kLine);
    path.CloseSubpath(0);
    EXPECT_EQ(path.kinds, (std::vector<uint8_t>{0x00, 0xC0, 0xC0, 0x84, 0x44, 0x4C}));
    EXPECT_EQ(path.box.left, -10);
    EXPECT_EQ(path.box.top, 10);
    EXPECT_EQ(path.box.right, 10);
    EXPECT_EQ(path.box.bottom, 0);
    // Not on the first point: the first keeps its bit.
    WPath open;
    open.AddPoint({0, 0}, segment::kMove);
    open.AddPoint({5, 5}, segment::kLine);
    open.CloseSubpath(0);
    EXPECT_EQ(open.kinds, (std::vector<uint8_t>{0x04, 0x4C}));
    WPath none;
    none.CloseSubpath(0);
    EXPECT_TRUE(none.kinds.empty());
}

constexpr double kUser = 254000.0 / 96;
const WMatrix kRoot(kUser, 0, 0, -kUser, 0, 508000);

TEST(PlacementTest, AStraightRectangleIsItsPageBox) {
    // x, y 0 and 96 by 96 user units: one inch square, y its lower edge.
    WRectangle r;
    r.Place(kRoot, 0, 0, 96, 96);
    EXPECT_NEAR(r.x, 0, 1e-6);
    EXPECT_NEAR(r.y, 508000 - 254000, 1e-6);
    EXPECT_NEAR(r.width, 254000, 1e-6);
    EXPECT_NEAR(r.height, 254000, 1e-6);
    EXPECT_EQ(r.matrix, kRoot);
}

TEST(PlacementTest, SidesRunAlongTheirTurnedAxes) {
    WMatrix turned = kRoot;
    turned.Multiply(ParseTransform("rotate(30) scale(2 3)"));
    WRectangle r;
    r.Place(turned, 10, 20, 30, 40);
    EXPECT_NEAR(r.width, 30 * 2 * kUser, 1e-6);
    EXPECT_NEAR(r.height, 40 * 3 * kUser, 1e-6);
    const WPoint centre = turned.Transform({25, 40});
    EXPECT_NEAR(r.x + r.width / 2, centre.x, 1e-6);
    EXPECT_NEAR(r.y + r.height / 2, centre.y, 1e-6);

    // A circle under a turn keeps its radius (it does not collapse).
    WEllipse circle;
    WMatrix rotated = kRoot;
    rotated.Multiply(ParseTransform("rotate(45)"));
    circle.Place(rotated, 50, 50, 9.6, 9.6);
    EXPECT_NEAR(circle.rx, 25400, 1e-6);
    EXPECT_NEAR(circle.ry, 25400, 1e-6);
    EXPECT_NEAR(circle.cx, rotated.Transform({50, 50}).x, 1e-6);
}

TEST(FontStyleWordTest, WeightCodesAndSlant) {
    const struct {
        int32_t weight;
        uint32_t upright;
    } rows[] = {{4, 0x1},      {3, 0x4},      {5, 0x4},     {6, 0x10},    {0, 0x40},     {7, 0x40},
                {99, 0x40},    {8, 0x100},    {9, 0x400},   {1, 0x1000},  {10, 0x1000},  {2, 0x4000},
                {11, 0x4000},  {12, 0x10000}};
    for (const auto& row : rows) {
        WFont font;
        font.weight = row.weight;
        EXPECT_EQ(FontStyleWord(font), row.upright) << row.weight;
        font.italic = true;
        EXPECT_EQ(FontStyleWord(font), row.upright << 1) << row.weight;
        // A decoration has no bit here (0x20000000 would be small capitals).
        font.decoration = true;
        EXPECT_EQ(FontStyleWord(font), row.upright << 1) << row.weight;
    }
}

TEST(PaintTest, ANewColourPaintIsOpaqueBlack) {
    const WFill_Color paint;
    EXPECT_EQ(paint.kind(), paint::kColor);
    EXPECT_EQ(paint.colour, (WColour{0, 0, 0}));
    EXPECT_EQ(paint.opacity, 255);
    EXPECT_EQ(paint.word, 0u);
    const WStroke stroke;
    EXPECT_EQ(stroke.width, 1);
    EXPECT_EQ(stroke.miterLimit, 8);
    const WFont font;
    EXPECT_EQ(font.size, (WLength{12, unit::kPt}));
}

// A shape that counts its destruction.
struct Counted : WGraphicsPrimitive {
    explicit Counted(int* count) : count_(count) {}
    ~Counted() override { ++*count_; }
    int* count_;
};

TEST(OwnershipTest, AClipPathDestroysItsShapes) {
    int destroyed = 0;
    {
        WPresentation style;
        style.clipPath = std::make_unique<WClippath>();
        for (int i = 0; i < 3; ++i) style.clipPath->shapes.push_back(std::make_unique<Counted>(&destroyed));
        style.Release();
        EXPECT_EQ(destroyed, 3);
        EXPECT_EQ(style.clipPath, nullptr);
    }
    EXPECT_EQ(destroyed, 3);
}

TEST(OwnershipTest, DefinitionsLiveUntilTheirScopeIsReleased) {
    int destroyed = 0;
    WDefinitions definitions;
    definitions.Keep(std::make_unique<Counted>(&destroyed));
    const size_t mark = definitions.Mark();
    Counted* inner = definitions.Keep(std::make_unique<Counted>(&destroyed));
    EXPECT_NE(inner, nullptr);
    EXPECT_EQ(definitions.Keep(std::unique_ptr<Counted>()), nullptr);
    EXPECT_EQ(definitions.Size(), 2u);
    definitions.ReleaseFrom(mark);
    EXPECT_EQ(destroyed, 1);
    definitions.Clear();
    EXPECT_EQ(destroyed, 2);
}

// Stops keep their document order: one placed before the last counts at
// the last one's position, and equal positions both stay (a hard edge).
TEST(GradientTest, StopsKeepTheirOrderAndNoneGoesBack) {
    WLinearGradient g;
    g.SetStop(128, {WColour{1, 2, 3}, 10});
    g.SetStop(0, {});
    g.SetStop(128, {WColour{4, 5, 6}, 20});
    g.SetStop(255, {});
    ASSERT_EQ(g.stops.size(), 4u);
    const uint16_t positions[] = {128, 128, 128, 255};
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(g.stops[i].position, positions[i]) << i;
    EXPECT_EQ(g.stops[0].value.colour, (WColour{1, 2, 3}));
    EXPECT_EQ(g.stops[2].value.colour, (WColour{4, 5, 6}));
    g.SetFlag(gradient_flag::kStops);
    EXPECT_TRUE(g.HasFlag(gradient_flag::kStops));
    EXPECT_FALSE(g.HasFlag(gradient_flag::kTransform));
}

}  // namespace

// The host's font table and font answers, checked against the font files
// read directly with FreeType.
#include "host/media/font_library.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_BBOX_H
#include FT_OUTLINE_H

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "font_reference.h"

namespace host::media {
namespace {

using namespace testing;
namespace node = svgf::node;

class FontLibraryTest : public ::testing::Test {
  protected:
    std::unique_ptr<FontLibrary> fonts = MakeFonts();

    ResolvedFont ResolveOrFail(int32_t id, uint32_t flags = 0) {
        std::optional<ResolvedFont> r = fonts->Resolve(id, flags);
        EXPECT_TRUE(r) << "font id " << id;
        return r.value_or(ResolvedFont{});
    }
    std::string FileName(int32_t id, uint32_t flags) {
        const std::string file = ResolveOrFail(id, flags).file;
        return file.substr(file.find_last_of('/') + 1);
    }
};

TEST(FontStyleFlags, EachOfTheEighteenBitsSelectsOneWeightAndSlant) {
    for (int bit = 0; bit < 18; ++bit) {
        std::optional<FontStyle> style = StyleFromFlags(1u << bit);
        ASSERT_TRUE(style) << bit;
        EXPECT_EQ(style->weight, 100 * (bit / 2 + 1)) << bit;
        EXPECT_EQ(style->italic, bit % 2 == 1) << bit;
    }
    EXPECT_EQ(StyleFromFlags(0x2000), (FontStyle{700, true}));
    // No bit, two bits, or only bits outside the weight table select nothing;
    // bits above the table do not disturb it.
    for (uint32_t flags : {0x0u, 0x3000u, 0x40000u, 0x20000000u, 0x1040u})
        EXPECT_FALSE(StyleFromFlags(flags)) << std::hex << flags;
    EXPECT_EQ(StyleFromFlags(0x20001000), (FontStyle{700, false}));
}

TEST_F(FontLibraryTest, FamilyNamesComeFromTheResolvedFont) {
    const struct {
        int32_t id;
        const char* family;
    } cases[] = {
        {kSans, "DejaVu Sans"},          {kSerif, "DejaVu Serif"},       {kSansBold, "DejaVu Sans"},
        {kMissingFamily, "DejaVu Sans"}, {kCourier, "DejaVu Sans Mono"}, {kTimes, "DejaVu Serif"},
    };
    for (const auto& c : cases) {
        char buffer[svgf::svc::kFamilyNameBufferSize];
        ASSERT_TRUE(fonts->FamilyName(c.id, buffer, sizeof buffer)) << c.id;
        EXPECT_STREQ(buffer, c.family) << c.id;
    }
}

TEST_F(FontLibraryTest, FamilyNameFailsWithoutOverrunningOrCutting) {
    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_FALSE(fonts->FamilyName(kSans, buffer, 11));  // "DejaVu Sans" needs 12
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(buffer[11], 'x');
    EXPECT_TRUE(fonts->FamilyName(kSans, buffer, 12));
    EXPECT_STREQ(buffer, "DejaVu Sans");

    EXPECT_FALSE(fonts->FamilyName(kUnknownId, buffer, sizeof buffer));
    EXPECT_FALSE(fonts->FamilyName(kSans, nullptr, sizeof buffer));
    EXPECT_FALSE(fonts->FamilyName(kSans, buffer, 0));
}

TEST_F(FontLibraryTest, StyleFlagsPickTheFaceAndTheTableStyleFillsIn) {
    const struct {
        int32_t id;
        uint32_t flags;
        const char* file;
    } cases[] = {
        {kSans, 0, "DejaVuSans.ttf"},
        {kSans, 0x40, "DejaVuSans.ttf"},
        {kSans, 0x1000, "DejaVuSans-Bold.ttf"},
        {kSans, 0x80, "DejaVuSans-Oblique.ttf"},
        {kSans, 0x3000, "DejaVuSans.ttf"},  // two bits: the table's style
        {kSansBold, 0, "DejaVuSans-Bold.ttf"},
        {kSansBold, 0x40, "DejaVuSans.ttf"},
        {kSerif, 0x2000, "DejaVuSerif-BoldItalic.ttf"},
        {kMissingFamily, 0x1000, "DejaVuSans-Bold.ttf"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileName(c.id, c.flags), c.file) << c.id << " 0x" << std::hex << c.flags;
    EXPECT_FALSE(fonts->Resolve(kUnknownId, 0));
}

// The previous character's width plus the pair's kerning, in font units.
FT_Pos ReferenceAdvance(const ReferenceFace& ref, FT_ULong previous, FT_ULong character) {
    const FT_UInt l = FT_Get_Char_Index(ref.get(), previous), r = FT_Get_Char_Index(ref.get(), character);
    FT_Fixed width = 0;
    EXPECT_EQ(FT_Get_Advance(ref.get(), l, FT_LOAD_NO_SCALE, &width), 0);
    FT_Vector kern{};
    EXPECT_EQ(FT_Get_Kerning(ref.get(), l, r, FT_KERNING_UNSCALED, &kern), 0);
    return width + kern.x;
}

TEST_F(FontLibraryTest, PairAdvancesAreTheFontsWidthsPlusKerning) {
    const struct {
        int32_t id;
        uint32_t flags;
    } faces[] = {{kSans, 0}, {kSans, 0x1000}, {kSansBold, 0}, {kSerif, 0}, {kSerif, 0x80}};
    for (const auto& f : faces) {
        SCOPED_TRACE(FileName(f.id, f.flags));
        ReferenceFace ref(ResolveOrFail(f.id, f.flags));
        const svgf::HostHandle font = fonts->CreateFont(f.id, f.flags, kExactSize, 0);
        ASSERT_NE(font, 0u);
        for (const char* pair : {"AV", "AA", "To", "x ", "1."}) {
            int32_t advance = 0;
            ASSERT_TRUE(fonts->PairAdvance(font, pair[0], pair[1], &advance));
            EXPECT_EQ(advance, ReferenceAdvance(ref, pair[0], pair[1]) * 100) << pair;
        }
        EXPECT_TRUE(fonts->ReleaseFont(font));
    }
}

// A run measures as its pairs do one by one, the last character against
// nothing: kerned pairs, repeated characters, one the face has no glyph for.
TEST_F(FontLibraryTest, RunAdvancesAreThePairAdvancesInTurn) {
    const svgf::HostHandle font = fonts->CreateFont(kSans, 0, 254000, 0);
    ASSERT_NE(font, 0u);
    const std::u16string text = u"AVATAR Wave \u00e9\u20ac\U0001F600 To. AV";
    std::vector<int32_t> run(text.size(), -1);
    ASSERT_TRUE(
        fonts->RunAdvances(font, reinterpret_cast<const uint16_t*>(text.data()), text.size(), run.data()));
    for (size_t i = 0; i < text.size(); ++i) {
        int32_t pair = 0;
        ASSERT_TRUE(fonts->PairAdvance(font, text[i], i + 1 < text.size() ? text[i + 1] : 0, &pair));
        EXPECT_EQ(run[i], pair) << i;
    }
    EXPECT_FALSE(fonts->RunAdvances(font + 1000, reinterpret_cast<const uint16_t*>(text.data()), text.size(),
                                    run.data()));
    fonts->ReleaseFont(font);
}

TEST_F(FontLibraryTest, AKernedPairComesCloserAndSizesRoundHalfAwayFromZero) {
    ReferenceFace ref(ResolveOrFail(kSans));
    FT_Fixed widthA = 0;
    ASSERT_EQ(FT_Get_Advance(ref.get(), FT_Get_Char_Index(ref.get(), 'A'), FT_LOAD_NO_SCALE, &widthA), 0);
    ASSERT_EQ(widthA, 1401);  // DejaVu Sans, 2048 units per em
    ASSERT_LT(ReferenceAdvance(ref, 'A', 'V'), widthA) << "DejaVu Sans kerns A V";

    const FontRequest exact{kSans, 0, kExactSize};
    EXPECT_LT(fonts->PairAdvance(exact, 'A', 'V').value(), widthA * 100);
    // At one inch the scaled advance is rounded half away from zero.
    const FontRequest inch{kSans, 0, 254000};
    const double av = ReferenceAdvance(ref, 'A', 'V') * 254000.0 / 2048;
    EXPECT_EQ(fonts->PairAdvance(inch, 'A', 'V'), static_cast<int32_t>(std::floor(av + 0.5)));
    // The handle form and the handle-free form agree.
    const svgf::HostHandle font = fonts->CreateFont(kSans, 0, 254000, 0);
    int32_t viaHandle = 0;
    ASSERT_TRUE(fonts->PairAdvance(font, 'A', 'V', &viaHandle));
    EXPECT_EQ(fonts->PairAdvance(inch, 'A', 'V'), viaHandle);
    fonts->ReleaseFont(font);
}

TEST_F(FontLibraryTest, WindowsQuoteCodesMeasureAsTheirCurlyQuotes) {
    ReferenceFace ref(ResolveOrFail(kSans));
    FT_Fixed curly = 0;
    ASSERT_EQ(FT_Get_Advance(ref.get(), FT_Get_Char_Index(ref.get(), 0x201C), FT_LOAD_NO_SCALE, &curly), 0);
    EXPECT_EQ(fonts->PairAdvance(FontRequest{kSans, 0, kExactSize}, 0x93, ' '), curly * 100);
}

// What the outline of a TrueType contour must come to, counted from the
// raw point tags: every segment end is a node, a quadratic one brings two
// controls, and the segment back to the start is the move itself, written
// out only when it is a curve.
struct ExpectedCounts {
    size_t nodes = 0, moves = 0, curves = 0;
};
ExpectedCounts CountFromTags(const FT_Outline& o) {
    ExpectedCounts c;
    int first = 0;
    for (int k = 0; k < o.n_contours; ++k) {
        const int last = o.contours[k];
        const int n = last - first + 1;
        auto on = [&](int i) { return FT_CURVE_TAG(o.tags[first + (i + n) % n]) == FT_CURVE_TAG_ON; };
        EXPECT_TRUE(on(0)) << "test expects contours to start on the curve";
        size_t lines = 0, quads = 0;
        for (int i = 1; i <= n; ++i) {             // segment ends, the start reached again last
            const bool end = on(i) || !on(i - 1);  // on-curve, or implied between two controls
            if (!end) continue;
            if (on(i - 1)) {
                ++lines;
            } else {
                ++quads;
            }
        }
        const bool closingIsLine = on(n - 1);
        c.nodes += 1 + lines + 3 * quads - (closingIsLine ? 1 : 0);
        c.moves += 1;
        c.curves += quads;
        first = last + 1;
    }
    return c;
}

TEST_F(FontLibraryTest, GlyphOutlinesMatchTheFontsContoursAndBox) {
    ReferenceFace ref(ResolveOrFail(kSerif));
    const svgf::HostHandle font = fonts->CreateFont(kSerif, 0, kExactSize, 0);
    ASSERT_NE(font, 0u);
    for (char32_t ch : {U'O', U'L', U'g', U'&', U'B'}) {
        SCOPED_TRACE(static_cast<char>(ch));
        ref.Load(ch);
        const FT_Outline& reference = ref->glyph->outline;
        const ExpectedCounts expected = CountFromTags(reference);
        FT_BBox exact{}, control{};
        ASSERT_EQ(FT_Outline_Get_BBox(const_cast<FT_Outline*>(&reference), &exact), 0);
        FT_Outline_Get_CBox(&reference, &control);

        svgf::HostHandle glyph = 0;
        svgf::HostOutline* outline = nullptr;
        ASSERT_TRUE(fonts->GlyphOutline(font, ch, &glyph, &outline));
        ASSERT_NE(glyph, 0u);
        ASSERT_NE(outline, nullptr);
        EXPECT_EQ(outline->nodeCount, expected.nodes);

        const svgf::HostPoint* p = svgf::OutlinePoints(outline);
        const uint8_t* t = svgf::OutlineTypes(outline);
        size_t moves = 0, curves = 0;
        int32_t left = INT32_MAX, bottom = INT32_MAX, right = INT32_MIN, top = INT32_MIN;
        for (size_t i = 0; i < outline->nodeCount; ++i) {
            const uint8_t role = t[i] & node::kRoleMask;
            moves += role == node::kMove;
            curves += role == node::kCurveEnd;
            if (role == node::kCurveEnd) {
                ASSERT_GE(i, 2u);
                EXPECT_EQ(t[i - 1] & node::kRoleMask, node::kControl);
                EXPECT_EQ(t[i - 2] & node::kRoleMask, node::kControl);
            }
            // Each contour ends with the close bit, right before the next move.
            const bool lastOfContour =
                i + 1 == outline->nodeCount || (t[i + 1] & node::kRoleMask) == node::kMove;
            EXPECT_EQ((t[i] & node::kClose) != 0, lastOfContour) << "node " << i;
            // Every node, control or not, stays inside the font's control box.
            EXPECT_GE(p[i].x, control.xMin * 100);
            EXPECT_LE(p[i].x, control.xMax * 100);
            EXPECT_GE(p[i].y, control.yMin * 100);
            EXPECT_LE(p[i].y, control.yMax * 100);
            if (role != node::kControl) {
                left = std::min(left, p[i].x);
                right = std::max(right, p[i].x);
                bottom = std::min(bottom, p[i].y);
                top = std::max(top, p[i].y);
            }
        }
        EXPECT_EQ(moves, expected.moves);
        EXPECT_EQ(curves, expected.curves);
        // The font puts points on its extremes, so the nodes span the exact box.
        EXPECT_EQ(left, exact.xMin * 100);
        EXPECT_EQ(right, exact.xMax * 100);
        EXPECT_EQ(bottom, exact.yMin * 100);
        EXPECT_EQ(top, exact.yMax * 100);

        EXPECT_TRUE(fonts->ReleaseGlyphOutline(glyph));
        EXPECT_TRUE(fonts->ReleaseGlyph(glyph));
    }
    fonts->ReleaseFont(font);
    EXPECT_TRUE(fonts->Counts().Balanced());
}

TEST_F(FontLibraryTest, BlankAndMissingGlyphs) {
    const svgf::HostHandle font = fonts->CreateFont(kSans, 0, 254000, 0);
    svgf::HostHandle glyph = 7;
    svgf::HostOutline* outline = nullptr;
    // A space has a glyph with nothing to draw.
    ASSERT_TRUE(fonts->GlyphOutline(font, ' ', &glyph, &outline));
    ASSERT_NE(outline, nullptr);
    EXPECT_EQ(outline->nodeCount, 0);
    EXPECT_TRUE(fonts->ReleaseGlyphOutline(glyph));
    EXPECT_TRUE(fonts->ReleaseGlyph(glyph));
    // A private-use code DejaVu has no glyph for: no handle, no outline.
    glyph = 7;
    EXPECT_FALSE(fonts->GlyphOutline(font, 0xF8FF, &glyph, &outline));
    EXPECT_EQ(glyph, 0u);
    EXPECT_EQ(outline, nullptr);
    fonts->ReleaseFont(font);
    EXPECT_TRUE(fonts->Counts().Balanced());
}

TEST_F(FontLibraryTest, OutlinesScaleWithTheSizeAndIgnoreTheRotation) {
    const svgf::HostHandle small = fonts->CreateFont(kSans, 0, kExactSize, 0);
    const svgf::HostHandle turned = fonts->CreateFont(kSans, 0, kExactSize, 45 * 1000000);
    const svgf::HostHandle large = fonts->CreateFont(kSans, 0, 2 * kExactSize, 0);
    svgf::HostHandle g[3];
    svgf::HostOutline* o[3];
    ASSERT_TRUE(fonts->GlyphOutline(small, 'L', &g[0], &o[0]));
    ASSERT_TRUE(fonts->GlyphOutline(turned, 'L', &g[1], &o[1]));
    ASSERT_TRUE(fonts->GlyphOutline(large, 'L', &g[2], &o[2]));
    ASSERT_EQ(o[0]->nodeCount, o[1]->nodeCount);
    ASSERT_EQ(o[0]->nodeCount, o[2]->nodeCount);
    for (size_t i = 0; i < o[0]->nodeCount; ++i) {
        const svgf::HostPoint a = svgf::OutlinePoints(o[0])[i];
        const svgf::HostPoint b = svgf::OutlinePoints(o[1])[i];
        const svgf::HostPoint c = svgf::OutlinePoints(o[2])[i];
        EXPECT_EQ(a.x, b.x);
        EXPECT_EQ(a.y, b.y);
        EXPECT_EQ(2 * a.x, c.x);
        EXPECT_EQ(2 * a.y, c.y);
    }
    for (auto h : g) {
        fonts->ReleaseGlyphOutline(h);
        fonts->ReleaseGlyph(h);
    }
    for (auto h : {small, turned, large}) fonts->ReleaseFont(h);
}

TEST_F(FontLibraryTest, ReleasesAreCountedAndBalanceOnlyWhenComplete) {
    const svgf::HostHandle a = fonts->CreateFont(kSans, 0, 254000, 0);
    const svgf::HostHandle b = fonts->CreateFont(kSerif, 0, 254000, 0);
    ASSERT_NE(a, 0u);
    ASSERT_NE(b, 0u);
    EXPECT_NE(a, b);
    svgf::HostHandle g1 = 0, g2 = 0;
    svgf::HostOutline* o = nullptr;
    ASSERT_TRUE(fonts->GlyphOutline(a, 'x', &g1, &o));
    ASSERT_TRUE(fonts->GlyphOutline(a, 'x', &g2, &o));
    EXPECT_NE(g1, g2);
    EXPECT_NE(g1, a);
    EXPECT_EQ(fonts->Counts().LiveFonts(), 2u);
    EXPECT_EQ(fonts->Counts().LiveGlyphs(), 2u);

    // A font handle is not a glyph handle, and the other way round.
    EXPECT_FALSE(fonts->ReleaseGlyph(a));
    EXPECT_FALSE(fonts->ReleaseFont(g1));

    EXPECT_TRUE(fonts->ReleaseGlyphOutline(g1));
    EXPECT_FALSE(fonts->ReleaseGlyphOutline(g1));  // twice
    EXPECT_TRUE(fonts->ReleaseGlyph(g1));
    EXPECT_FALSE(fonts->ReleaseGlyph(g1));
    EXPECT_FALSE(fonts->ReleaseGlyphOutline(g1));  // after the handle went

    // Skipping the first step still frees the glyph, but the counts show it.
    EXPECT_TRUE(fonts->ReleaseGlyph(g2));
    EXPECT_TRUE(fonts->ReleaseFont(a));
    EXPECT_FALSE(fonts->ReleaseFont(a));
    EXPECT_TRUE(fonts->ReleaseFont(b));

    const HandleCounts c = fonts->Counts();
    EXPECT_EQ(c.fontsCreated, 2u);
    EXPECT_EQ(c.fontsReleased, 2u);
    EXPECT_EQ(c.glyphsCreated, 2u);
    EXPECT_EQ(c.glyphOutlinesReleased, 1u);
    EXPECT_EQ(c.glyphsReleased, 2u);
    EXPECT_FALSE(c.Balanced());
}

TEST_F(FontLibraryTest, BadArgumentsAnswerFailureAndChangeNothing) {
    EXPECT_EQ(fonts->CreateFont(kUnknownId, 0, 254000, 0), 0u);
    for (int32_t size : {0, -1, kMaxFontSize + 1, INT32_MIN})
        EXPECT_EQ(fonts->CreateFont(kSans, 0, size, 0), 0u);
    EXPECT_NE(fonts->CreateFont(kSans, 0, kMaxFontSize, 0), 0u);

    int32_t advance = 12345;
    EXPECT_FALSE(fonts->PairAdvance(svgf::HostHandle{0}, 'A', 'V', &advance));
    EXPECT_FALSE(fonts->PairAdvance(svgf::HostHandle{4242}, 'A', 'V', &advance));
    EXPECT_EQ(advance, 12345);
    const svgf::HostHandle font = fonts->CreateFont(kSans, 0, 254000, 0);
    EXPECT_FALSE(fonts->PairAdvance(font, 'A', 'V', nullptr));
    EXPECT_FALSE(fonts->PairAdvance(FontRequest{kUnknownId, 0, 254000}, 'A', 'V'));
    EXPECT_FALSE(fonts->PairAdvance(FontRequest{kSans, 0, 0}, 'A', 'V'));

    svgf::HostHandle glyph = 0;
    svgf::HostOutline* outline = nullptr;
    EXPECT_FALSE(fonts->GlyphOutline(4242, 'A', &glyph, &outline));
    EXPECT_FALSE(fonts->GlyphOutline(font, 'A', nullptr, &outline));
    EXPECT_FALSE(fonts->GlyphOutline(font, 'A', &glyph, nullptr));
    EXPECT_FALSE(fonts->ReleaseGlyphOutline(0));
    EXPECT_FALSE(fonts->ReleaseGlyph(0));
    EXPECT_FALSE(fonts->ReleaseFont(0));

    // The failed calls made no handles; the two good fonts are the only ones.
    EXPECT_EQ(fonts->Counts().fontsCreated, 2u);
    EXPECT_EQ(fonts->Counts().glyphsCreated, 0u);
}

}  // namespace
}  // namespace host::media

// Embedded fonts: font and glyph texts, the glyph table's order, merging
// fonts by name, and writing them in the three CSS placements.
#include "svg_font.h"

#include <gtest/gtest.h>

#include "platform/scripted_files.h"
#include "svg_writer.h"
#include "xml_check.h"

namespace svgf {
namespace {

SVGFont Description(const char* name, const char* id, uint32_t style, int weight) {
    SVGFont font;
    font.fullName = name;
    font.id.SetName(id);
    font.styleBits = style;
    font.weightBits = FontWeightBit(weight);
    return font;
}

std::unique_ptr<SVGGlyph> Glyph(uint16_t code, const char* data = "M0 0l10 0z") {
    auto glyph = std::make_unique<SVGGlyph>();
    glyph->code = code;
    glyph->outline.pathData = data;
    return glyph;
}

TEST(SvgFont, FontStartTags) {
    const struct {
        uint32_t smallCaps, normal, style, weights;
        const char* attributes;
    } cases[] = {
        {0, 0, 0, 0, ""},
        {1, 0, 0, 0, " fontVariant=\"small-caps\""},
        {0, 1, 0, 0, " fontVariant=\"normal\""},
        {1, 1, 0, 0, " fontVariant=\"small-caps,normal\""},
        {0, 0, kFontStyleAll, 0, " fontStyle=\"all\""},
        {0, 0, kFontStyleNormal | kFontStyleItalic | kFontStyleOblique, 0, " fontStyle=\"all\""},
        {0, 0, kFontStyleNormal | kFontStyleItalic, 0, " fontStyle=\"normal,italic\""},
        {0, 0, kFontStyleAll | kFontStyleOblique, 0, " fontStyle=\"oblique\""},
        {0, 0, 0, FontWeightBit(400) | FontWeightBit(700), " fontWeight=\"400,700\""},
        {0, 0, 0, 0x15555, " fontWeight=\"all\""},
        {0, 0, 0, 0x3FFFF, " fontWeight=\"all\""},
    };
    for (const auto& c : cases) {
        SVGFont font;
        font.fullName = "Sans & Co";
        font.id.SetName("FontID0");
        font.smallCaps = c.smallCaps;
        font.normalVariant = c.normal;
        font.styleBits = c.style;
        font.weightBits = c.weights;
        EXPECT_EQ(font.Write(SVGWriteState{}),
                  std::string("<font id=\"FontID0\" fullFontName=\"Sans &amp; Co\"") + c.attributes + ">\r\n")
            << c.attributes;
    }
    EXPECT_EQ(FontWeightBit(100), 1u);
    EXPECT_EQ(FontWeightBit(900), 1u << 16);
    EXPECT_EQ(FontWeightBit(550), 0u);
}

TEST(SvgFont, FaceRuleAndGlyphs) {
    // The embedded font's family is its id, so that text can name it apart
    // from the installed family of the same name.
    SVGFont font = Description("My \"Font\"", "FontID3", 0, 400);
    EXPECT_EQ(font.FontFaceRule(), "@font-face { font-family:\"FontID3\";src:url(\"#FontID3\") format(svg)}");
    const struct {
        uint16_t code;
        const char* text;
    } cases[] = {{'A', "A"}, {'&', "&amp;"}, {'"', "&quot;"}, {0x20AC, "&#8364;"}, {0xE9, "\xE9"}};
    for (const auto& c : cases) {
        EXPECT_EQ(Glyph(c.code)->Write(SVGWriteState{5}),
                  std::string("<glyph unicode=\"") + c.text + "\"><path d=\"M0 0l10 0z\"/></glyph>\r\n");
    }
    EXPECT_EQ(Glyph('x', "")->Write(SVGWriteState{}), "<glyph unicode=\"x\"></glyph>\r\n");
}

TEST(SvgFont, GlyphTableWalksBucketsNewestFirst) {
    SVGGlyphMap map;
    // 'a' and 'b' share a bucket ((code >> 4) % 17 == 6); 0x20 sits in bucket 2,
    // 0x130 in bucket 2 as well ((0x130 >> 4) % 17 == 2).
    for (uint16_t code : {uint16_t('a'), uint16_t('b'), uint16_t(0x20), uint16_t(0x130)})
        map.Set(Glyph(code));
    map.Set(Glyph('a', "M1 1"));  // replaced in place
    std::vector<uint16_t> order;
    for (const SVGGlyph* glyph : map.InOrder()) order.push_back(glyph->code);
    EXPECT_EQ(order, (std::vector<uint16_t>{0x130, 0x20, 'b', 'a'}));
    EXPECT_EQ(map.Size(), 4u);
    EXPECT_EQ(map.Find('a')->outline.pathData, "M1 1");
    EXPECT_EQ(map.Find('c'), nullptr);
}

TEST(SvgFont, FontsMergeByFullName) {
    FontList list;
    EXPECT_EQ(list.NextFontNumber(), 0);
    EXPECT_EQ(list.NextFontNumber(), 1);
    ASSERT_EQ(list.AddGlyph(Description("Serif", "FontID0", kFontStyleNormal, 400), Glyph('a')), 1);
    ASSERT_EQ(list.AddGlyph(Description("Serif", "FontID9", kFontStyleItalic, 700), Glyph('b')), 1);
    ASSERT_EQ(list.AddGlyph(Description("Sans", "FontID1", kFontStyleNormal, 400), Glyph('a')), 1);
    EXPECT_EQ(list.Size(), 2u);
    SVGFont* serif = list.Find("Serif");
    ASSERT_NE(serif, nullptr);
    EXPECT_EQ(serif->id.Name(), "FontID0") << "the first description names the font";
    EXPECT_EQ(serif->styleBits, kFontStyleNormal | kFontStyleItalic);
    EXPECT_EQ(serif->weightBits, FontWeightBit(400) | FontWeightBit(700));
    EXPECT_EQ(serif->glyphs.Size(), 2u);
    EXPECT_EQ(list.Current()->fullName, "Sans");
    list.FindOrAddFont(Description("Serif", "", 0, 0));
    EXPECT_EQ(list.Current(), serif);
    list.RemoveAll();
    EXPECT_EQ(list.Size(), 0u);
    EXPECT_EQ(list.Current(), nullptr);
}

std::string WriteFontsDocument(uint32_t placement, std::string* sheet = nullptr) {
    platform::ScriptedFiles files;
    std::string document;
    {
        SVGExportOptions options{1, 1, 0, 0, 1000, placement, nullptr};
        WSVGWriter writer(files.AttachDescriptor(4), options, "/f/t.svg", files);
        SVGPage page;
        page.pageRect = {0, 254000, 254000, 0};
        page.scaledRect = {0, 0, 1000, 1000};
        writer.BeginDocument(page);
        FontList list;
        list.AddGlyph(Description("Serif", "FontID0", kFontStyleNormal, 400), Glyph('a'));
        list.AddGlyph(Description("Serif", "FontID0", kFontStyleNormal, 400), Glyph('b', "M0 0l5 5"));
        list.AddGlyph(Description("Sans", "FontID1", kFontStyleItalic, 700), Glyph('<'));
        EXPECT_EQ(list.WriteFonts(writer), 1);
        EXPECT_EQ(list.Size(), 0u);
        EXPECT_EQ(writer.WriteStyleRule(".fil0 {fill:none}"), placement == kCssStyleAttribute ? 0 : 1);
        EXPECT_EQ(writer.EndDocument(), 1);
        EXPECT_TRUE(writer.CommitStyleSheet());
        document = files.DescriptorContent(4);
        if (sheet != nullptr) *sheet = files.NamedContent("/f/t.css");
    }
    EXPECT_EQ(files.LiveTemporaries(), 0);
    return document;
}

constexpr char kFontsPart[] =
    "  <font id=\"FontID0\" fullFontName=\"Serif\" fontStyle=\"normal\" fontWeight=\"400\">\r\n"
    "   <glyph unicode=\"b\"><path d=\"M0 0l5 5\"/></glyph>\r\n"
    "   <glyph unicode=\"a\"><path d=\"M0 0l10 0z\"/></glyph>\r\n"
    "  </font>\r\n"
    "  <font id=\"FontID1\" fullFontName=\"Sans\" fontStyle=\"italic\" fontWeight=\"700\">\r\n"
    "   <glyph unicode=\"&lt;\"><path d=\"M0 0l10 0z\"/></glyph>\r\n"
    "  </font>\r\n";

TEST(SvgFont, InternalSheetCarriesTheFaceRules) {
    std::string document = WriteFontsDocument(kCssInternal);
    EXPECT_NE(document.find(std::string(" <defs>\r\n") + kFontsPart +
                            "  <style type=\"text/css\">\r\n"
                            "   <![CDATA[\r\n"
                            "    @font-face { font-family:\"FontID0\";src:url(\"#FontID0\") format(svg)}\r\n"
                            "    @font-face { font-family:\"FontID1\";src:url(\"#FontID1\") format(svg)}\r\n"
                            "    .fil0 {fill:none}\r\n"
                            "   ]]>\r\n"
                            "  </style>\r\n"
                            " </defs>\r\n"),
              std::string::npos)
        << document;
    EXPECT_WELL_FORMED(document);
}

TEST(SvgFont, ExternalSheetCarriesTheFaceRules) {
    std::string sheet;
    std::string document = WriteFontsDocument(kCssExternal, &sheet);
    EXPECT_NE(document.find(std::string(" <defs>\r\n") + kFontsPart + " </defs>\r\n"), std::string::npos);
    EXPECT_EQ(sheet,
              "@font-face { font-family:\"FontID0\";src:url(\"#FontID0\") format(svg)}\r\n"
              "@font-face { font-family:\"FontID1\";src:url(\"#FontID1\") format(svg)}\r\n"
              ".fil0 {fill:none}\r\n");
    EXPECT_WELL_FORMED(document);
}

TEST(SvgFont, StyleAttributePlacementStillWritesWholeFonts) {
    std::string document = WriteFontsDocument(kCssStyleAttribute);
    EXPECT_NE(document.find(std::string(" <defs>\r\n") + kFontsPart + " </defs>\r\n"), std::string::npos)
        << document;
    EXPECT_EQ(document.find("@font-face"), std::string::npos);
    EXPECT_WELL_FORMED(document);
}

TEST(SvgFont, WithoutEmbeddingThereIsNoFontsPart) {
    platform::ScriptedFiles files;
    SVGExportOptions options{1, 0, 0, 0, 1000, kCssInternal, nullptr};
    WSVGWriter writer(files.AttachDescriptor(4), options, "/f/t.svg", files);
    SVGFont font = Description("Serif", "FontID0", 0, 400);
    EXPECT_EQ(writer.BeginFont(font), 0);
    EXPECT_EQ(writer.WriteGlyph(*Glyph('a')), 0);
    EXPECT_EQ(writer.EndFont(), 0);
}

}  // namespace
}  // namespace svgf

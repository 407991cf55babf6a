// Text objects: fonts, runs split into pieces, text elements with their
// escaping and classes, and the embedded fonts they feed, against a host
// whose fonts are a small table of made-up metrics and outlines.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <string>
#include <vector>

#include "platform/memory_settings_store.h"
#include "platform/scripted_files.h"
#include "svg_exp.h"
#include "svg_font.h"
#include "text_markup.h"
#include "xml_check.h"

namespace svgf {
namespace {

constexpr int kOutputDescriptor = 7;
constexpr int32_t kSans = 1, kSerif = 2, kNameless = 9;
// Every character advances this far, except the kerned pair A V.
constexpr int32_t kAdvance = 1000;
constexpr int32_t kKernedAdvance = 800;
// The host has no answer for pairs with this character.
constexpr uint16_t kUnpairable = 0xFFFF;

// The host side: its calls and the outline blocks it hands out.
struct FontHost {
    std::vector<std::vector<int64_t>> created;  // font id, flags, size, rotation
    std::vector<HostHandle> fontsReleased;
    std::vector<uint32_t> nameBufferSizes;
    std::vector<std::vector<uint32_t>> pairs;  // handle, previous, character
    std::vector<uint32_t> glyphCodes;
    std::vector<HostHandle> glyphs;  // handed out
    std::vector<HostHandle> release1, release2;
    std::map<HostHandle, std::vector<uint8_t>> blocks;
    HostHandle nextHandle = 100;
    bool createFails = false;
};
FontHost g_host;

HostHandle SVGF_CALL CreateFont(int32_t zero1, int32_t fontId, uint32_t flags, int32_t size,
                                const HostMatrix* transform, int32_t rotation, int32_t zero3) {
    EXPECT_EQ(zero1 | zero3, 0);
    EXPECT_EQ(transform, nullptr);
    g_host.created.push_back({fontId, flags, size, rotation});
    return g_host.createFails ? 0 : g_host.nextHandle++;
}
int32_t SVGF_CALL ReleaseFont(HostHandle font) {
    g_host.fontsReleased.push_back(font);
    return 1;
}
int32_t SVGF_CALL FamilyName(int32_t fontId, char* buffer, uint32_t size) {
    g_host.nameBufferSizes.push_back(size);
    const char* name = fontId == kSans ? "Sans" : fontId == kSerif ? "Serif Text" : nullptr;
    if (name == nullptr) return 0;
    std::snprintf(buffer, size, "%s", name);
    return 1;
}
int32_t SVGF_CALL PairAdvance(HostHandle font, uint32_t previous, uint32_t character, int32_t* advance) {
    g_host.pairs.push_back({font, previous, character});
    if (previous == kUnpairable || character == kUnpairable) return 0;
    *advance = previous == 'A' && character == 'V' ? kKernedAdvance : kAdvance;
    return 1;
}
// Letters have a triangle of 2540 host units (10 user units at precision
// 1000); the blank has a glyph without nodes; digits have none at all.
int32_t SVGF_CALL GlyphOutline(HostHandle font, uint32_t character, HostHandle* glyph,
                               HostOutline** outline) {
    g_host.glyphCodes.push_back(character);
    if (character >= '0' && character <= '9') return 0;
    const HostHandle handle = g_host.nextHandle++;
    const uint16_t nodes = character == ' ' ? 0 : 3;
    std::vector<uint8_t>& block = g_host.blocks[handle];
    block.assign(HostOutlineBytes(nodes), 0);
    auto* head = reinterpret_cast<HostOutline*>(block.data());
    head->nodeCount = nodes;
    if (nodes != 0) {
        HostPoint* p = OutlinePoints(head);
        p[0] = {0, 0};
        p[1] = {2540, 0};
        p[2] = {0, 2540 + static_cast<int32_t>(character)};
        uint8_t* t = OutlineTypes(head);
        t[0] = node::kMove | 0x02;
        t[1] = node::kLine | 0x02;
        t[2] = node::kLine | node::kClose | 0x02;
    }
    g_host.glyphs.push_back(handle);
    *glyph = handle;
    *outline = head;
    return 1;
}
int32_t SVGF_CALL ReleaseGlyph1(HostHandle glyph) {
    g_host.release1.push_back(glyph);
    return 1;
}
int32_t SVGF_CALL ReleaseGlyph2(HostHandle glyph) {
    g_host.release2.push_back(glyph);
    return 1;
}

template <typename Fn>
HostServiceFn Entry(Fn fn) {
    return reinterpret_cast<HostServiceFn>(fn);
}

// Weight 400 upright, and bold.
constexpr uint32_t kRegular = 0x40;
constexpr uint32_t kBold = 0x1000;
constexpr uint32_t kItalic = 0x80;
constexpr uint32_t kAllCapitals = 0x40000000;
constexpr uint32_t kSmallCapitals = 0x20000000;
constexpr int32_t kInch = 254000;

class TextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_host = FontHost{};
        table_.slot[svc::kCreateFont] = Entry(&CreateFont);
        table_.slot[svc::kReleaseFont] = Entry(&ReleaseFont);
        table_.slot[svc::kFontFamilyName] = Entry(&FamilyName);
        table_.slot[svc::kPairAdvance] = Entry(&PairAdvance);
        table_.slot[svc::kGlyphOutline] = Entry(&GlyphOutline);
        table_.slot[svc::kGlyphRelease1] = Entry(&ReleaseGlyph1);
        table_.slot[svc::kGlyphRelease2] = Entry(&ReleaseGlyph2);
        context_.size = kContextSize;
        context_.fileName = fileName_.data();
        context_.fileHandle = kOutputDescriptor;
        context_.pageRect = HostRect{0, kInch, kInch, 0};
        context_.services = &table_;
        options_ = SVGExportOptions{1, 0, 0, 0, 1000, 0, &context_};
        context_.exportOptions = &options_;
        fill_.kind = kFillUniform;
        attributes_.fill = &fill_;
    }

    // Begins the export and opens a text object at the page's origin.
    void Begin() {
        exp_ = std::make_unique<SVGExp>(files_, &settings_);
        ASSERT_EQ(exp_->BeginExport(&context_), 1);
        ASSERT_EQ(exp_->BeginTransform(&object_), kDone);
    }
    int32_t Font(int32_t id, uint32_t flags = kRegular, int32_t size = kInch / 10, int32_t rotation = 0) {
        FontRecord font{0, id, flags, size, rotation};
        return exp_->DefineFont(&font);
    }
    int32_t Run(const std::u16string& text, std::vector<HostPoint> positions) {
        TextRunRecord run{static_cast<int32_t>(text.size()), reinterpret_cast<const uint16_t*>(text.data()),
                          positions.data()};
        return exp_->DrawTextRun(&run);
    }
    // Positions that follow the advances exactly from (x, y).
    static std::vector<HostPoint> Laid(const std::u16string& text, int32_t x, int32_t y) {
        std::vector<HostPoint> out;
        for (size_t i = 0; i < text.size(); ++i) {
            if (i > 0) x += text[i - 1] == 'A' && text[i] == 'V' ? kKernedAdvance : kAdvance;
            out.push_back({x, y});
        }
        return out;
    }
    std::string End() {
        exp_->EndTransform();
        EXPECT_EQ(exp_->EndExport(&context_), 1);
        return files_.DescriptorContent(kOutputDescriptor);
    }
    static std::vector<std::string> Texts(const std::string& document) {
        std::vector<std::string> out;
        const std::regex text("<text [^\\n]*</text>");
        for (auto it = std::sregex_iterator(document.begin(), document.end(), text);
             it != std::sregex_iterator(); ++it) {
            out.push_back(it->str());
        }
        return out;
    }
    static std::string Between(const std::string& document, const std::string& from, const std::string& to) {
        const size_t start = document.find(from);
        if (start == std::string::npos) return {};
        const size_t end = document.find(to, start);
        return document.substr(start, end == std::string::npos ? std::string::npos : end + to.size() - start);
    }

    platform::ScriptedFiles files_;
    platform::MemorySettingsStore settings_;
    std::string fileName_ = "/out/text.svg";
    HostServiceTable table_{};
    SVGExportOptions options_{};
    FilterContext context_{};
    HostFillRecord fill_{};
    HostAttributes attributes_{};
    HostRect box_{0, kInch, kInch, 0};
    TransformRecord object_{&attributes_, nullptr, &box_};
    std::unique_ptr<SVGExp> exp_;
};

TEST(TextMarkup, EscapesTheFiveSpecialsAmpersandFirst) {
    std::string text = "a<b & c>'d\"&amp;";
    EscapeXmlText(text);
    EXPECT_EQ(text, "a&lt;b &amp; c&gt;&apos;d&quot;&amp;amp;");
}

TEST(TextMarkup, CodesBeyondTheEncodingBecomeReferencesAndWhatXmlCannotCarryIsReplaced) {
    const struct {
        std::vector<uint16_t> codes;
        const char* markup;
    } cases[] = {
        {{'a', 0x141, 'b'}, "a&#321;b"},       // never its low byte 'A'
        {{'x', 0, 'y'}, "x&#65533;y"},             // a 0 neither ends the text nor stays
        {{'<', 0x1F, '&'}, "&lt;&#65533;&amp;"},  // escaping around a reference
        {{'a', '\t', 'b'}, "a&#9;b"},              // tab, line feed, return: as they are
        {{0xD83D, 0xDE00}, "&#128512;"},            // a surrogate pair: its one character
        {{0xD83D, 'x', 0xDE00}, "&#65533;x&#65533;"},  // halves alone
        {{0xFFFE, 0xFFFF}, "&#65533;&#65533;"},
        {{0xE9, 0xFF}, "\xE9\xFF"},            // Latin-1 stays one byte
    };
    for (const auto& c : cases) EXPECT_EQ(TextMarkup(c.codes), c.markup);
    EXPECT_EQ(PlainQuote(0x91), '\'');
    EXPECT_EQ(PlainQuote(0x94), '"');
    EXPECT_EQ(PlainQuote(0x95), 0x95);
    EXPECT_EQ(CapitalOf('q'), 'Q');
    EXPECT_EQ(CapitalOf(0xE9), 0xC9);
    EXPECT_EQ(CapitalOf(0xF7), 0xF7);
    EXPECT_EQ(CapitalOf(0xFF), 0x178);
    EXPECT_EQ(CapitalOf('&'), '&');
}

TEST_F(TextTest, ExactAdvancesGiveOneEscapedTextElement) {
    Begin();
    ASSERT_EQ(Font(kSans), kDone);
    const std::u16string text = u"a<b & c";
    ASSERT_EQ(Run(text, Laid(text, kInch / 10, kInch / 2)), kDone);
    const std::string document = End();
    EXPECT_EQ(Texts(document), std::vector<std::string>{
                                   "<text x=\"100\" y=\"500\" class=\"fil0 fnt0\">a&lt;b &amp; c</text>"});
    EXPECT_NE(document.find(".fnt0 {font-weight:normal;font-size:100;font-family:Sans}"), std::string::npos);
    EXPECT_WELL_FORMED(document);
}

TEST_F(TextTest, TheHostReachesTextThroughTheCallbackRecord) {
    Begin();
    const ExportCallbackRecord& r = exp_->CallbackRecord();
    ASSERT_EQ(r.defineFont(r.object, 0, kSans, kBold, kInch / 10, 0), kDone);
    const HostPoint at{0, 0};
    ASSERT_EQ(r.drawCharacter(r.object, 0x93, &at), kDone);
    const uint16_t codes[] = {'o', 'k'};
    const HostPoint positions[] = {{0, -2540}, {kAdvance, -2540}};
    ASSERT_EQ(r.drawTextRun(r.object, 2, codes, positions), kDone);
    ASSERT_EQ(r.endTransform(r.object), kDone);
    EXPECT_EQ(g_host.fontsReleased, std::vector<HostHandle>{100});
    const std::vector<std::string> texts = Texts(End());
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[0].find(">&quot;</text>"), std::string::npos) << texts[0];
    EXPECT_NE(texts[1].find(">ok</text>"), std::string::npos) << texts[1];
}

TEST_F(TextTest, RunsSplitWhereTheHostsAdvancesDoNotHold) {
    Begin();
    ASSERT_EQ(Font(kSans), kDone);
    // A kerned pair written without its kerning, then a jump to a new line.
    std::vector<HostPoint> at = {{0, 0}, {1000, 0}, {2000, 0}, {3000, 0}, {4000, -2540}};
    ASSERT_EQ(Run(u"BAVEF", at), kDone);
    // The same pair kerned as the host says stays whole.
    ASSERT_EQ(Run(u"AVA", Laid(u"AVA", 0, -25400)), kDone);
    EXPECT_EQ(g_host.pairs.front(), (std::vector<uint32_t>{100, 'B', 'A'}));
    const std::vector<std::string> texts = Texts(End());
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_NE(texts[0].find("x=\"0\" y=\"1000\""), std::string::npos);
    EXPECT_NE(texts[0].find(">BA</text>"), std::string::npos);
    EXPECT_NE(texts[1].find("x=\"8\" y=\"1000\""), std::string::npos);  // 3000 host units
    EXPECT_NE(texts[1].find(">VE</text>"), std::string::npos);
    EXPECT_NE(texts[2].find("x=\"16\" y=\"1010\""), std::string::npos);
    EXPECT_NE(texts[2].find(">F</text>"), std::string::npos);
    EXPECT_NE(texts[3].find(">AVA</text>"), std::string::npos);
}

TEST_F(TextTest, TurnedRunsKeepTogetherWithinTheTolerance) {
    Begin();
    // One inch: ceil(254000 x 0.000168244) = 43 host units either way.
    ASSERT_EQ(Font(kSans, kRegular, kInch, 30000000), kDone);
    std::vector<HostPoint> at = {{0, 0}, {1000 + 43, 0}, {2000 + 43 - 43, 0}, {3000 + 44, 0}};
    ASSERT_EQ(Run(u"abcd", at), kDone);
    const std::vector<std::string> texts = Texts(End());
    ASSERT_EQ(texts.size(), 2u);
    // Counter-clockwise in the host is clockwise-negative in the document.
    EXPECT_NE(texts[0].find("><tspan rotate=\"-30\">abc</tspan></text>"), std::string::npos) << texts[0];
    EXPECT_NE(texts[1].find("><tspan rotate=\"-30\">d</tspan></text>"), std::string::npos) << texts[1];
}

TEST_F(TextTest, UprightRunsSplitOnAnyDeviation) {
    Begin();
    ASSERT_EQ(Font(kSans, kRegular, kInch), kDone);
    ASSERT_EQ(Run(u"ab", {{0, 0}, {1001, 0}}), kDone);
    EXPECT_EQ(Texts(End()).size(), 2u);
}

TEST_F(TextTest, CapitalsQuotesAndWideCodesStayWellFormed) {
    Begin();
    ASSERT_EQ(Font(kSans, kRegular | kAllCapitals), kDone);
    const std::u16string text = u"a&b \x93q\x94 \x141";
    ASSERT_EQ(Run(text, Laid(text, 0, 0)), kDone);
    ASSERT_EQ(Font(kSans, kRegular), kDone);
    const std::u16string plain =
        u"\x93"
        u"x";
    ASSERT_EQ(Run(plain, Laid(plain, 0, 0)), kDone);
    const std::string document = End();
    const std::vector<std::string> texts = Texts(document);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[0].find(">A&amp;B &quot;Q&quot; &#321;</text>"), std::string::npos) << texts[0];
    EXPECT_NE(texts[1].find(">&quot;x</text>"), std::string::npos) << texts[1];
    EXPECT_EQ(document.find("&AMP;"), std::string::npos);
    EXPECT_WELL_FORMED(document);
}

TEST_F(TextTest, RefusedAndEmptyRuns) {
    Begin();
    const uint16_t character = 'a';
    const HostPoint at{0, 0};
    TextRunRecord run{1, &character, &at};
    EXPECT_EQ(exp_->DrawTextRun(&run), kFailed) << "no font defined yet";
    ASSERT_EQ(Font(kSans), kDone);
    EXPECT_EQ(exp_->DrawTextRun(nullptr), kFailed);
    for (int32_t count : {0, -3}) {
        TextRunRecord empty{count, nullptr, nullptr};
        EXPECT_EQ(exp_->DrawTextRun(&empty), kDone);
    }
    TextRunRecord noCharacters{1, nullptr, &at};
    TextRunRecord noPositions{1, &character, nullptr};
    EXPECT_EQ(exp_->DrawTextRun(&noCharacters), kFailed);
    EXPECT_EQ(exp_->DrawTextRun(&noPositions), kFailed);
    // A failing pair query ends the run; the piece before it stays.
    const std::u16string text = u"ab\xFFFF";
    EXPECT_EQ(Run(text, Laid(text, 0, 0)), kFailed);
    exp_->EndTransform();
    EXPECT_EQ(exp_->DrawTextRun(&run), kFailed) << "no text object open";
    const std::vector<std::string> texts = Texts(End());
    ASSERT_EQ(texts.size(), 0u) << "the pair query fails before any piece is complete";
}

TEST_F(TextTest, FontHandlesLiveFromDefinitionToTheEndOfTheObject) {
    Begin();
    ASSERT_EQ(Font(kSans, kBold, 5000, 7), kDone);
    EXPECT_EQ(g_host.created.back(), (std::vector<int64_t>{kSans, kBold, 5000, 7}));
    EXPECT_EQ(exp_->Font().hostFont, 100u);
    EXPECT_EQ(exp_->Font().family, "Sans");
    ASSERT_EQ(Font(kSerif), kDone);
    EXPECT_EQ(g_host.fontsReleased, std::vector<HostHandle>{100});
    EXPECT_EQ(exp_->Font().family, "Serif Text");
    // A family the host cannot name fails; the handle stays until the object ends.
    EXPECT_EQ(Font(kNameless), kFailed);
    EXPECT_EQ(g_host.nameBufferSizes, std::vector<uint32_t>(3, svc::kFamilyNameBufferSize));
    EXPECT_FALSE(exp_->Font().defined);
    EXPECT_EQ(Run(u"a", {{0, 0}}), kFailed) << "no text under a font without a name";
    exp_->EndTransform();
    EXPECT_EQ(g_host.fontsReleased, (std::vector<HostHandle>{100, 101, 102}));
    EXPECT_EQ(exp_->Font().hostFont, 0u);
    End();
}

TEST_F(TextTest, EndExportReleasesAFontLeftOpen) {
    Begin();
    ASSERT_EQ(Font(kSans), kDone);
    EXPECT_EQ(exp_->EndExport(&context_), 1);
    EXPECT_EQ(g_host.fontsReleased, std::vector<HostHandle>{100});
}

TEST_F(TextTest, WithoutFontServicesTextIsRefusedNotCrashed) {
    for (size_t slot : {svc::kCreateFont, svc::kFontFamilyName, svc::kPairAdvance, svc::kGlyphOutline}) {
        table_.slot[slot] = nullptr;
    }
    options_.embedFonts = 1;
    Begin();
    EXPECT_EQ(Font(kSans), kFailed);
    EXPECT_EQ(Run(u"ab", {{0, 0}, {1000, 0}}), kFailed);
    EXPECT_TRUE(Texts(End()).empty());
}

TEST_F(TextTest, FontClassesInBothForms) {
    for (const char* shorthand : {"0", "1"}) {
        SCOPED_TRACE(shorthand);
        settings_.AddKey(kFontSettingsKey);
        settings_.SetText(kFontSettingsKey, kShorthandValue, shorthand);
        context_.exportOptions = &options_;
        Begin();
        ASSERT_EQ(Font(kSerif, kItalic | kSmallCapitals, kInch / 5), kDone);
        ASSERT_EQ(Run(u"x", {{0, 0}}), kDone);
        const std::string document = End();
        EXPECT_NE(document.find(shorthand[0] == '1'
                                    ? ".fnt0 {font:italic small-caps normal 200 'Serif Text'}"
                                    : ".fnt0 {font-style:italic;font-variant:small-caps;font-weight:normal;"
                                      "font-size:200;font-family:'Serif Text'}"),
                  std::string::npos)
            << document;
    }
}

TEST_F(TextTest, WeightTableOfTheStyleFlags) {
    options_.cssPlacement = kCssStyleAttribute;
    Begin();
    for (int bit = 0; bit < 18; ++bit) {
        ASSERT_EQ(Font(kSans, 1u << bit), kDone);
        ASSERT_EQ(Run(u"w", {{0, 0}}), kDone);
    }
    ASSERT_EQ(Font(kSans, 0x3000), kDone);  // two bits: neither counts
    ASSERT_EQ(Run(u"w", {{0, 0}}), kDone);
    const std::vector<std::string> texts = Texts(End());
    ASSERT_EQ(texts.size(), 19u);
    for (int bit = 0; bit <= 18; ++bit) {
        const int weight = bit == 18 ? 400 : 100 * (bit / 2 + 1);
        const bool italic = bit != 18 && bit % 2 == 1;
        const std::string name = weight == 400 ? "normal" : weight == 700 ? "bold" : std::to_string(weight);
        const std::string expected =
            std::string(italic ? "font-style:italic;" : "") + "font-weight:" + name + ";";
        EXPECT_NE(texts[bit].find(expected), std::string::npos) << bit << ": " << texts[bit];
        EXPECT_EQ(texts[bit].find("italic") != std::string::npos, italic) << bit;
    }
}

TEST_F(TextTest, EmbeddedFontsCollectOneGlyphPerCharacter) {
    options_.embedFonts = 1;
    Begin();
    ASSERT_EQ(Font(kSans), kDone);
    ASSERT_EQ(Run(u"ab a1", Laid(u"ab a1", 0, 0)), kDone);
    ASSERT_EQ(Font(kSans, kBold), kDone);
    ASSERT_EQ(Run(u"b", {{0, 0}}), kDone);
    ASSERT_EQ(exp_->Font().embedded->id.Name(), "FontID0");
    ASSERT_EQ(Font(kSerif, kItalic), kDone);
    EXPECT_EQ(exp_->Font().embedded->id.Name(), "FontID1");
    ASSERT_EQ(Run(u"c", {{0, 0}}), kDone);
    // Back to the first family: its id again, never a font the document lacks.
    ASSERT_EQ(Font(kSans), kDone);
    EXPECT_EQ(exp_->Font().embedded->id.Name(), "FontID0");
    ASSERT_EQ(Run(u"d", {{0, 0}}), kDone);
    const std::string document = End();

    // Every glyph handed out came back through both releases, in order.
    EXPECT_EQ(g_host.release1, g_host.glyphs);
    EXPECT_EQ(g_host.release2, g_host.glyphs);
    EXPECT_EQ(g_host.glyphCodes, (std::vector<uint32_t>{'a', 'b', ' ', 'a', '1', 'b', 'c', 'd'}));
    // The module marks the first node of each outline and clears the mark elsewhere.
    const auto* head = reinterpret_cast<const HostOutline*>(g_host.blocks[g_host.glyphs[0]].data());
    EXPECT_EQ(OutlineTypes(head)[0] & 0x02, 0x02);
    EXPECT_EQ(OutlineTypes(head)[1] & 0x02, 0);

    const std::string sans = Between(document, "<font id=\"FontID0\"", "</font>");
    EXPECT_NE(sans.find("fullFontName=\"Sans\" fontVariant=\"normal\" fontStyle=\"normal\" "
                        "fontWeight=\"400,700\">"),
              std::string::npos)
        << sans;
    // One glyph per character used (the blank's outline is empty, the digit has none).
    EXPECT_NE(sans.find("<glyph unicode=\"a\"><path d=\"M0 0l10 0 -10 10z\"/></glyph>"), std::string::npos)
        << sans;
    EXPECT_NE(sans.find("<glyph unicode=\"b\">"), std::string::npos);
    EXPECT_NE(sans.find("<glyph unicode=\"d\">"), std::string::npos);
    EXPECT_EQ(sans.find("<glyph unicode=\" \""), std::string::npos);
    EXPECT_EQ(sans.find("<glyph unicode=\"1\""), std::string::npos);
    const std::string serif = Between(document, "<font id=\"FontID1\"", "</font>");
    EXPECT_NE(serif.find("fontStyle=\"italic\""), std::string::npos) << serif;
    EXPECT_NE(serif.find("<glyph unicode=\"c\">"), std::string::npos);
    // The faces come before the classes that use them.
    const size_t face = document.find("@font-face { font-family:\"FontID0\";src:url(\"#FontID0\") format(svg)}");
    ASSERT_NE(face, std::string::npos);
    EXPECT_LT(face, document.find(".fil0"));
    EXPECT_WELL_FORMED(document);
}

TEST_F(TextTest, EmbeddedGlyphsNameTheirCharacters) {
    options_.embedFonts = 1;
    Begin();
    ASSERT_EQ(Font(kSans), kDone);
    const std::u16string text = u"<\x93\x141";
    ASSERT_EQ(Run(text, Laid(text, 0, 0)), kDone);
    const std::string document = End();
    EXPECT_NE(document.find("<glyph unicode=\"&lt;\">"), std::string::npos);
    EXPECT_NE(document.find("<glyph unicode=\"&quot;\">"), std::string::npos);
    EXPECT_NE(document.find("<glyph unicode=\"&#321;\">"), std::string::npos);
    EXPECT_WELL_FORMED(document);
}

TEST_F(TextTest, StyleAttributePlacementStillWritesWholeFonts) {
    options_.embedFonts = 1;
    options_.cssPlacement = kCssStyleAttribute;
    Begin();
    ASSERT_EQ(Font(kSans, kRegular), kDone);
    ASSERT_EQ(Run(u"a", {{0, 0}}), kDone);
    const std::string document = End();
    EXPECT_NE(document.find("<glyph unicode=\"a\">"), std::string::npos);
    EXPECT_NE(document.find("</font>"), std::string::npos);
    EXPECT_EQ(document.find("@font-face"), std::string::npos);
    // The embedded font follows the installed family as its fallback.
    EXPECT_NE(document.find("style=\"fill:#000000;font-weight:normal;font-size:100;font-family:Sans,FontID0\""),
              std::string::npos)
        << document;
    EXPECT_WELL_FORMED(document);
}

}  // namespace
}  // namespace svgf

// The generated CSS.dic: it loads, the ids the CSS engine compares resolve
// to their texts, its keyword runs keep their order, and the property
// look-ups answer by the kinds of their types.
#include "markup/parser/css_dictionary.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "markup/parser/dictionary_dump.h"
#include "markup/parser/name_order.h"
#include "platform/messages.h"
#include "temp_dir.h"

namespace markup {
namespace {

std::string Str(const String& s) {
    return s.Text();
}

class GeneratedCSSTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        css_ = new CSSDictionary;
        status_ = css_->Load(SVGFILTER_DICTIONARY_DIR "CSS.dic");
    }
    static void TearDownTestSuite() {
        delete css_;
        css_ = nullptr;
    }

    // The keyword text of an id in the property's group, or "" when absent.
    static std::string Keyword(std::uint32_t property, std::uint32_t keyword,
                               std::int32_t* number = nullptr) {
        const AttributeTypeGroup* group = nullptr;
        if (css_->GroupType(group, property) != kDict_Ok) return "";
        for (std::uint32_t i = 0; i < group->PairCount(); ++i) {
            if (group->PairAt(i)->valueId == keyword) {
                if (number) *number = group->PairAt(i)->userValue;
                return group->PairAt(i)->value.Text();
            }
        }
        return "";
    }

    static CSSDictionary* css_;
    static ReturnCodeEnum status_;
};

CSSDictionary* GeneratedCSSTest::css_ = nullptr;
ReturnCodeEnum GeneratedCSSTest::status_ = kErr_OutOfMemory;

TEST_F(GeneratedCSSTest, LoadsWithEveryPropertyId) {
    ASSERT_EQ(status_, kErr_None);
    EXPECT_EQ(css_->Properties().EntryCount(), 119u);
    for (std::uint32_t id = 1; id <= 119; ++id) EXPECT_NE(css_->FindProperty(id), nullptr) << id;
    std::uint32_t id = 0;
    EXPECT_TRUE(css_->PropertyIdByName("stroke-width", id));
    EXPECT_EQ(id, 73u);
    EXPECT_TRUE(css_->PropertyIdByName("fill", id));
    EXPECT_EQ(id, 69u);
    EXPECT_TRUE(css_->PropertyIdByName("Font-Family", id));
    EXPECT_EQ(id, 1u);
    EXPECT_FALSE(css_->PropertyIdByName("stroke-widths", id));
}

TEST_F(GeneratedCSSTest, KeywordIdsTheEngineComparesResolveToTheirTexts) {
    struct Case {
        std::uint32_t property;
        std::uint32_t keyword;
        const char* text;
    };
    const Case cases[] = {
        {69, 331, "none"},        {69, 281, "currentColor"},   {72, 331, "none"},
        {74, 355, "round"},       {75, 355, "round"},          {74, 276, "butt"},
        {74, 367, "square"},      {75, 325, "miter"},          {75, 269, "bevel"},
        {18, 164, "none"},        {24, 267, "auto"},           {21, 120, "left"},
        {21, 39, "center"},       {57, 226, "square"},         {19, 372, "sub"},
        {19, 373, "super"},       {110, 239, "top"},           {109, 202, "right"},
        {98, 330, "new"},         {6, 311, "larger"},          {6, 365, "smaller"},
        {52, 264, "absolute"},    {13, 358, "scroll"},         {64, 382, "top"},
        {83, 368, "sRGB"},        {55, 272, "block"},          {4, 364, "small-caps"},
        {10, 383, "transparent"}, {99, 393, "visiblePainted"}, {5, 261, "700"},
        {88, 402, "collapse"},    {112, 281, "currentColor"},  {114, 281, "currentColor"},
        {118, 267, "auto"},       {117, 278, "central"},       {116, 368, "sRGB"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Keyword(c.property, c.keyword), c.text) << c.property << " " << c.keyword;
        std::uint32_t id = 0;
        EXPECT_EQ(css_->GroupValue(id, c.property, c.text), kDict_Ok);
        EXPECT_EQ(id, c.keyword) << c.text;
    }
}

TEST_F(GeneratedCSSTest, KeywordNumbers) {
    const std::pair<const char*, std::int32_t> sizes[] = {{"xx-small", 1}, {"x-small", 2}, {"small", 3},
                                                          {"medium", 4},   {"large", 5},   {"x-large", 6},
                                                          {"xx-large", 7}};
    for (const auto& [text, index] : sizes) {
        std::int32_t number = -1;
        EXPECT_EQ(css_->ParseValue(number, 6, text), kDict_Ok);
        EXPECT_EQ(number, index) << text;
    }
    std::int32_t number = 0;
    EXPECT_EQ(css_->ParseValue(number, 9, "RED"), kDict_Ok);
    EXPECT_EQ(number, 0x0000FF);
    EXPECT_EQ(css_->ParseValue(number, 10, "transparent"), kDict_Ok);
    EXPECT_EQ(static_cast<std::uint32_t>(number), 0xFF000000u);
    EXPECT_EQ(css_->ParseValue(number, 5, "bold"), kDict_Ok);
    EXPECT_EQ(number, 1);
    EXPECT_EQ(css_->ParseValue(number, 1, "monospace"), kDict_Ok);
    EXPECT_EQ(number, 48);
    EXPECT_EQ(css_->ParseValue(number, 36, "thick"), kDict_Ok);
    EXPECT_EQ(number, 5);
    // Not a keyword: the formats are tried next, and "huge" has no digits.
    EXPECT_EQ(css_->ParseValue(number, 6, "huge"), kDict_Missing);
    EXPECT_EQ(number, 0);
    EXPECT_EQ(css_->ParseValue(number, 2, "huge"), kDict_NoMatch);
}

// Each run of keyword ids increases with the texts in the dictionary's name
// order, and one id has one text everywhere.
TEST_F(GeneratedCSSTest, KeywordRunsFollowTheWordOrder) {
    std::map<std::uint32_t, std::string> texts;
    for (std::uint32_t i = 0; i < css_->Properties().EntryCount(); ++i) {
        const AttributeTypeGroup* group = nullptr;
        if (css_->GroupType(group, css_->Properties().At(i)->Id()) != kDict_Ok) continue;
        for (std::uint32_t p = 0; p < group->PairCount(); ++p) {
            const auto [it, added] = texts.emplace(group->PairAt(p)->valueId, group->PairAt(p)->value.Text());
            EXPECT_EQ(it->second, group->PairAt(p)->value.Text()) << it->first;
        }
    }
    const std::pair<std::uint32_t, std::uint32_t> runs[] = {{1, 254}, {255, 400}, {401, 999}};
    for (const auto& [first, last] : runs) {
        const char* previous = nullptr;
        std::uint32_t previousId = 0;
        for (auto it = texts.lower_bound(first); it != texts.end() && it->first <= last; ++it) {
            if (previous) {
                EXPECT_LT(CompareNames(previous, it->second.c_str()), 0) << previousId << " " << it->first;
            }
            previous = it->second.c_str();
            previousId = it->first;
        }
    }
    // Run 2 has no gap.
    for (std::uint32_t id = 264; id <= 400; ++id) EXPECT_TRUE(texts.count(id)) << id;
}

// A shorthand's values are re-read under its targets' ids, so each target
// must carry the shorthand's keywords with the same ids and numbers.
TEST_F(GeneratedCSSTest, ShorthandTargetsShareTheirKeywords) {
    const std::pair<std::uint32_t, std::vector<std::uint32_t>> spreads[] = {{28, {24, 25, 26, 27}},
                                                                            {38, {34, 35, 36, 37}},
                                                                            {39, {101, 102, 103, 104}},
                                                                            {40, {105, 106, 107, 108}},
                                                                            {1, {111}}};
    for (const auto& [from, targets] : spreads) {
        const AttributeTypeGroup* source = nullptr;
        ASSERT_EQ(css_->GroupType(source, from), kDict_Ok);
        for (std::uint32_t target : targets) {
            for (std::uint32_t p = 0; p < source->PairCount(); ++p) {
                std::int32_t number = 0;
                EXPECT_EQ(Keyword(target, source->PairAt(p)->valueId, &number),
                          source->PairAt(p)->value.Text())
                    << from << " -> " << target;
                EXPECT_EQ(number, source->PairAt(p)->userValue);
            }
        }
    }
    // The two-position reader needs center in both position groups.
    std::uint32_t id = 0;
    EXPECT_EQ(css_->GroupValue(id, 109, "center"), kDict_Ok);
    EXPECT_EQ(css_->GroupValue(id, 110, "center"), kDict_Ok);
    const CSSAttributeDef* font = css_->FindProperty(8);
    EXPECT_EQ(font->WordA(), 3u);
    EXPECT_EQ(font->DefinitionWords().Count(), 5u);
    EXPECT_EQ(font->Type(), nullptr);
}

TEST_F(GeneratedCSSTest, LookupsAnswerByTheKindOfTheType) {
    const AttributeTypeGroup* group = nullptr;
    const AttributeTypeFormatted* formatted = nullptr;
    // Kind 3 answers both; kind 2 has no group; kind 1 no formats.
    EXPECT_EQ(css_->GroupType(group, 69), kDict_Ok);
    EXPECT_EQ(css_->FormattedType(formatted, 69), kDict_Ok);
    EXPECT_EQ(css_->GroupType(group, 73), kDict_WrongKind);
    EXPECT_EQ(css_->FormattedType(formatted, 73), kDict_Ok);
    EXPECT_EQ(css_->FormattedType(formatted, 74), kDict_WrongKind);
    EXPECT_EQ(css_->GroupType(group, 8), kDict_WrongKind);
    EXPECT_EQ(css_->GroupType(group, 999), kDict_Unknown);

    std::uint32_t count = 0;
    EXPECT_EQ(css_->FormatCount(count, 69), kDict_Ok);
    EXPECT_EQ(count, 4u);  // token types 31 to 34
    std::uint32_t word = 0;
    EXPECT_EQ(css_->FormatWord(word, 69, 0), kDict_Ok);
    EXPECT_EQ(word, 31u);
    EXPECT_EQ(css_->FormatWord(word, 69, count), kDict_OutOfRange);
    EXPECT_EQ(css_->FormatCount(count, 74), kDict_WrongKind);

    std::uint32_t id = 7;
    EXPECT_EQ(css_->GroupValue(id, 69, "nothing-like-it"), kDict_NoMatch);
    EXPECT_EQ(id, 0u);
    EXPECT_EQ(css_->GroupValue(id, 73, "none"), kDict_WrongKind);

    // Initial keywords are the groups' defaults.
    String text;
    EXPECT_EQ(css_->FindProperty(2)->Type()->DefaultText(text), kDict_Ok);
    EXPECT_EQ(Str(text), "normal");
    EXPECT_EQ(css_->FindProperty(59)->Type()->DefaultText(text), kDict_Ok);
    EXPECT_EQ(Str(text), "outside");
    EXPECT_EQ(css_->FindProperty(109)->Type()->DefaultText(text), kDict_Missing);
}

TEST(CSSDictionaryTest, AMissingFileLeavesAnEmptyDictionary) {
    platform::RecordingMessageSink messages;
    platform::ScopedMessageSink sink(&messages);
    markup_test::TempDir dir;
    CSSDictionary css;
    EXPECT_EQ(css.Load(dir.File("CSS.dic").c_str()), kErr_StreamFileNotFound);
    const AttributeTypeGroup* group = nullptr;
    EXPECT_EQ(css.GroupType(group, 1), kDict_Unknown);
    std::uint32_t id = 0;
    EXPECT_EQ(css.GroupValue(id, 69, "none"), kDict_Unknown);
    std::int32_t number = 5;
    EXPECT_EQ(css.ParseValue(number, 69, "none"), kDict_Unknown);
    EXPECT_EQ(number, 0);
    EXPECT_TRUE(messages.entries.empty());

    // A damaged one shows the host's message.
    EXPECT_EQ(css.Load(dir.Write("bad.dic", std::string("\0\0\0\0\5\0\0\0", 8)).c_str()), kErr_StreamRead);
    EXPECT_EQ(messages.entries.size(), 1u);
}

TEST(CSSDictionaryTest, WrittenAndReadBackEqual) {
    markup_test::TempDir dir;
    CSSDictionary css;
    ASSERT_EQ(css.Load(SVGFILTER_DICTIONARY_DIR "CSS.dic"), kErr_None);
    const std::string file = dir.File("copy.dic");
    ASSERT_EQ(css.Save(file.c_str()), kErr_None);
    CSSDictionary copy;
    ASSERT_EQ(copy.Load(file.c_str()), kErr_None);
    EXPECT_EQ(DumpCSSDictionary(copy), DumpCSSDictionary(css));
    EXPECT_EQ(markup_test::ReadAll(file), markup_test::ReadAll(SVGFILTER_DICTIONARY_DIR "CSS.dic"));
}

}  // namespace
}  // namespace markup

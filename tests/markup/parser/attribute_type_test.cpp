// Value types: formatting and parsing numbers, colours and lists, the group
// match with its case and list rules, defaults, copies and kinds.
#include "markup/parser/attribute_type.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "markup/parser/attribute_def.h"
#include "markup/parser/dictionary.h"
#include "sample_dictionary.h"

namespace markup {
namespace {

std::string Str(const String& s) {
    return s.Text();
}

// A definition with a formatted type of the given words and format text.
struct Formatted {
    explicit Formatted(std::initializer_list<std::uint32_t> words, const char* text = "fmt") {
        type = dynamic_cast<AttributeTypeFormatted*>(def.SetTypeKind(kTypeFormatted));
        for (std::uint32_t w : words) type->AddFormat(w);
        type->SetFormatText(text);
    }
    HTMLAttributeDef def;
    AttributeTypeFormatted* type;
};

struct FormatCase {
    std::vector<std::uint32_t> words;
    std::int32_t number;
    const char* text;
    DictStatus status;
};

class FormatTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatTest, NumberToText) {
    const FormatCase& c = GetParam();
    Formatted f({});
    for (std::uint32_t w : c.words) f.type->AddFormat(w);
    String text;
    EXPECT_EQ(f.type->Format(text, c.number), c.status);
    EXPECT_EQ(Str(text), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Words, FormatTest,
    testing::Values(FormatCase{{kFormatColour}, 0x563412, "#123456", kDict_Ok},
                    FormatCase{{kFormatColour}, 0x000001, "#010000", kDict_Ok},
                    FormatCase{{kFormatColour}, 0x1000000, "fmt", kDict_NoMatch},
                    FormatCase{{kFormatNonNegative}, -5, "fmt", kDict_NoMatch},
                    FormatCase{{kFormatNegative}, -5, "-5", kDict_Ok},
                    FormatCase{{kFormatNegativePercent}, -5, "-5%", kDict_Ok},
                    FormatCase{{kFormatNegative, kFormatPixels}, 12, "12pixels", kDict_Ok},
                    FormatCase{{kFormatEn}, 0, "0en", kDict_Ok},
                    FormatCase{{kFormatPercent}, 50, "50%", kDict_Ok},
                    FormatCase{{kFormatMinusOne}, -1, "-1", kDict_Ok},
                    FormatCase{{kFormatMinusOne}, -2, "fmt", kDict_NoMatch},
                    FormatCase{{}, 1, "fmt", kDict_NoMatch}, FormatCase{{99}, 1, "fmt", kDict_NoMatch}));

struct ParseCase {
    std::uint32_t word;
    const char* text;
    std::int32_t number;
    DictStatus status;
};

class ParseTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseTest, TextToNumber) {
    const ParseCase& c = GetParam();
    Formatted f({c.word});
    std::int32_t number = 12345;
    EXPECT_EQ(f.type->Parse(number, c.text, nullptr), c.status);
    EXPECT_EQ(number, c.number);
}

// Integers saturate at the 32-bit bounds with a 64-bit long too.
INSTANTIATE_TEST_SUITE_P(
    Words, ParseTest,
    testing::Values(ParseCase{kFormatColour, "#123456", 0x563412, kDict_Ok},
                    ParseCase{kFormatColour, "fff", 0xFF0F00, kDict_Ok},  // not expanded
                    ParseCase{kFormatColour, "zz", 0, kDict_Ok},
                    ParseCase{kFormatColour, "#ffffffffff", 0xFFFFFF, kDict_Ok},
                    ParseCase{kFormatNonNegative, "- 42", -42, kDict_Ok},
                    ParseCase{kFormatNonNegative, "-", 0, kDict_NoMatch},
                    ParseCase{kFormatNonNegative, "-  ", 0, kDict_NoMatch},
                    ParseCase{kFormatNonNegative, "abc", 0, kDict_Missing},
                    ParseCase{kFormatNonNegative, "17px", 17, kDict_Ok},
                    ParseCase{kFormatNonNegative, "99999999999", INT32_MAX, kDict_Overflow},
                    ParseCase{kFormatNonNegative, "2147483647", INT32_MAX, kDict_Overflow},
                    ParseCase{kFormatNonNegative, "2147483646", 2147483646, kDict_Ok},
                    ParseCase{kFormatNonNegative, "-99999999999", -INT32_MAX, kDict_Overflow},
                    ParseCase{kFormatNonNegative, "- -99999999999", INT32_MAX, kDict_Overflow},
                    ParseCase{0, "5", 0, kDict_NoMatch}));

TEST(FormattedTypeTest, ListsOfNumbers) {
    Formatted list({kFormatIntegerList}, "none");
    String text;
    EXPECT_EQ(list.type->FormatList(text, {1, 2, 3}), kDict_Ok);
    EXPECT_EQ(Str(text), "1,2,3");
    EXPECT_EQ(list.type->FormatList(text, {7}), kDict_Ok);
    EXPECT_EQ(Str(text), "7");
    EXPECT_EQ(list.type->FormatList(text, {}), kDict_NoMatch);
    EXPECT_EQ(Str(text), "none");
    Formatted colour({kFormatColour});
    EXPECT_EQ(colour.type->FormatList(text, {0x12, 0x34, 0x56}), kDict_Ok);
    EXPECT_EQ(Str(text), "#123456");
    EXPECT_EQ(colour.type->FormatList(text, {1, 2}), kDict_NoMatch);

    // ParseList picks the first word whose check accepts the text: URLs are
    // built in, other words need their pattern in the dictionary.
    auto d = markup_test::BuildSampleDictionary();
    d->AddValue(std::make_unique<ValueDef>(kFormatIntegerList, "list", "^[0-9,]+$"));
    d->AddValue(std::make_unique<ValueDef>(kFormatColour, "colour", "^#"));
    Formatted both({kFormatColour, kFormatIntegerList});
    NumberList numbers;
    EXPECT_EQ(both.type->ParseList(numbers, "10,20,30", d.get()), kDict_Ok);
    EXPECT_EQ(numbers, (NumberList{10, 20, 30}));
    numbers.clear();
    EXPECT_EQ(both.type->ParseList(numbers, "#123456", d.get()), kDict_Ok);
    EXPECT_EQ(numbers, (NumberList{0x12, 0x34, 0x56}));
    numbers.clear();
    EXPECT_EQ(both.type->ParseList(numbers, "1,99999999999", d.get()), kDict_Overflow);
    EXPECT_EQ(numbers, NumberList{1});
    numbers.clear();
    EXPECT_EQ(both.type->ParseList(numbers, "1,2", nullptr), kDict_NoMatch);  // no check accepts it
    EXPECT_TRUE(numbers.empty());
}

// A group of left, right and center with the default on center.
struct Group {
    explicit Group(std::uint32_t declared = 0) {
        def.SetDeclaredType(declared);
        type = dynamic_cast<AttributeTypeGroup*>(def.SetTypeKind(kTypeGroup));
        type->AddPair({120, "left", 1, ""});
        type->AddPair({202, "right", 2, ""});
        type->AddPair({39, "center", 3, ""});
        type->SetDefaultIndex(2);
    }
    HTMLAttributeDef def;
    AttributeTypeGroup* type;
};

struct MatchCase {
    std::uint32_t declared;
    const char* text;
    DictStatus status;
    std::uint32_t index;
};

class GroupMatchTest : public testing::TestWithParam<MatchCase> {};

TEST_P(GroupMatchTest, TextToPair) {
    const MatchCase& c = GetParam();
    Group g(c.declared);
    std::uint32_t index = 99;
    EXPECT_EQ(g.type->Match(index, c.text, nullptr), c.status);
    EXPECT_EQ(index, c.index);
}

INSTANTIATE_TEST_SUITE_P(
    DeclaredTypes, GroupMatchTest,
    testing::Values(MatchCase{0, "LEFT", kDict_Ok, 0}, MatchCase{2, "LEFT", kDict_NoMatch, 2},
                    MatchCase{2, "left", kDict_Ok, 0}, MatchCase{0, "up", kDict_NoMatch, 2},
                    MatchCase{5, "left, right", kDict_Ok, 1}, MatchCase{5, " center ,left", kDict_Ok, 0},
                    MatchCase{5, "left,up", kDict_NoMatch, 2}, MatchCase{0, "left, right", kDict_NoMatch, 2},
                    MatchCase{4, "LEFT", kDict_Ok, 0}));  // no dictionary: without case

TEST(GroupTypeTest, NumbersTextsAndDefaults) {
    Group g;
    std::int32_t number = 0;
    EXPECT_EQ(g.type->Parse(number, "Right", nullptr), kDict_Ok);
    EXPECT_EQ(number, 2);
    EXPECT_EQ(g.type->Parse(number, "up", nullptr), kDict_NoMatch);
    EXPECT_EQ(number, 0);
    EXPECT_EQ(g.type->ParseWithDictionary(number, "CENTER", nullptr), kDict_Ok);
    EXPECT_EQ(number, 3);
    String text("x");
    EXPECT_EQ(g.type->Format(text, 3), kDict_Ok);
    EXPECT_EQ(Str(text), "center");
    EXPECT_EQ(g.type->Format(text, 9), kDict_NoMatch);
    EXPECT_EQ(Str(text), "");
    EXPECT_EQ(g.type->FormatList(text, {1, 2}), kDict_NoMatch);
    NumberList numbers;
    EXPECT_EQ(g.type->ParseList(numbers, "left", nullptr), kDict_Ok);
    EXPECT_EQ(numbers, NumberList{1});

    EXPECT_EQ(g.type->DefaultText(text), kDict_Missing);  // default kind 0
    g.def.SetDefaultKind(2);
    EXPECT_EQ(g.type->DefaultText(text), kDict_Ok);
    EXPECT_EQ(Str(text), "center");
    g.type->SetDefaultIndex(128);
    EXPECT_EQ(g.type->DefaultText(text), kDict_OutOfRange);
}

// Declared type 4 compares with case when the dictionary's attribute
// 6881450 accepts the value, whose own type may ask the same again.
TEST(GroupTypeTest, CaseDecidedByTheCaseAttribute) {
    Dictionary d;
    auto probe = std::make_unique<HTMLAttributeDef>();
    probe->SetId(kCaseAttributeId);
    probe->SetDeclaredType(kDeclaredCaseByAttribute);
    auto* probeGroup = dynamic_cast<AttributeTypeGroup*>(probe->SetTypeKind(kTypeGroup));
    probeGroup->AddPair({1, "Exact", 0, ""});
    d.Attributes().Insert(std::move(probe));

    Group g(kDeclaredCaseByAttribute);
    g.type->AddPair({2, "Exact", 0, ""});
    std::uint32_t index = 0;
    EXPECT_EQ(g.type->Match(index, "Exact", &d), kDict_Ok);  // accepted: with case
    EXPECT_EQ(g.type->Match(index, "LEFT", &d), kDict_Ok);   // refused: without case
    EXPECT_EQ(index, 0u);
    EXPECT_EQ(g.type->Match(index, "EXACT", &d), kDict_NoMatch);  // accepted, so with case
    EXPECT_EQ(index, 2u);
}

TEST(FormattedTypeTest, WithoutFormatsAValueIsBoundOnlyByTheGroup) {
    // A compiled CDATA attribute: no format words.
    Formatted free({}, "");
    EXPECT_TRUE(free.type->Check("any text at all", nullptr));
    HTMLAttributeDef def;
    auto* both = def.SetTypeKind(kTypeGroupFormatted);
    dynamic_cast<AttributeTypeGroup*>(both)->AddPair({198, "red", 0xFF, ""});
    EXPECT_TRUE(both->Check("red", nullptr));
    EXPECT_FALSE(both->Check("blue", nullptr));
}

TEST(GroupFormattedTypeTest, GroupFirstThenFormats) {
    HTMLAttributeDef def;
    auto* type = def.SetTypeKind(kTypeGroupFormatted);
    dynamic_cast<AttributeTypeGroup*>(type)->AddPair({198, "red", 0xFF, ""});
    dynamic_cast<AttributeTypeFormatted*>(type)->AddFormat(kFormatColour);
    dynamic_cast<AttributeTypeFormatted*>(type)->SetFormatText("#000000");
    std::int32_t number = 0;
    EXPECT_EQ(type->Parse(number, "red", nullptr), kDict_Ok);
    EXPECT_EQ(number, 0xFF);
    EXPECT_EQ(type->Parse(number, "#00ff00", nullptr), kDict_Ok);
    EXPECT_EQ(number, 0xFF00);
    String text;
    EXPECT_EQ(type->Format(text, 0xFF), kDict_Ok);
    EXPECT_EQ(Str(text), "red");
    EXPECT_EQ(type->Format(text, 0xFE), kDict_Ok);
    EXPECT_EQ(Str(text), "#fe0000");
    def.SetDefaultKind(1);
    EXPECT_EQ(type->DefaultText(text), kDict_Ok);
    EXPECT_EQ(Str(text), "#000000");  // the formatted part's
    EXPECT_TRUE(type->Check("red", nullptr));
    EXPECT_FALSE(type->Check("blue", nullptr));  // colour patterns come from a dictionary
}

// Copies keep their kind and owner; assigning across kinds copies what the
// kinds share.
TEST(AttributeDefTest, CopiesKeepKindsAndOwners) {
    HTMLAttributeDef def;
    def.SetId(4);
    def.SetName("valign");
    def.SetDefaultKind(1);
    def.SetDeclaredType(2);
    auto* both = def.SetTypeKind(kTypeGroupFormatted);
    dynamic_cast<AttributeTypeGroup*>(both)->AddPair({1, "top", 5, ""});
    dynamic_cast<AttributeTypeFormatted*>(both)->AddFormat(kFormatPixels);

    std::unique_ptr<AttributeDef> copy = def.Clone();
    auto* html = dynamic_cast<HTMLAttributeDef*>(copy.get());
    ASSERT_NE(html, nullptr);
    EXPECT_EQ(html->DeclaredType(), 2u);
    ASSERT_EQ(copy->Type()->Kind(), kTypeGroupFormatted);
    EXPECT_EQ(copy->Type()->Owner(), copy.get());
    EXPECT_EQ(dynamic_cast<const AttributeTypeGroup*>(copy->Type())->PairCount(), 1u);
    EXPECT_EQ(dynamic_cast<const AttributeTypeFormatted*>(copy->Type())->Formats().Count(), 1u);

    AttributeTypeGroup group(nullptr);
    group.AddPair({9, "x", 0, ""});
    group.Assign(*dynamic_cast<AttributeTypeFormatted*>(def.Type()));  // a group formatted is a group too
    EXPECT_EQ(group.PairCount(), 1u);
    EXPECT_EQ(Str(group.PairAt(0)->value), "top");
    Formatted f({kFormatPercent});
    group.Assign(*f.type);
    EXPECT_EQ(group.PairCount(), 0u);
    EXPECT_EQ(group.DefaultIndex(), 0u);

    CSSAttributeDef css;
    css.SetWordA(7);
    css.AddDefinitionWord(24);
    css.SetFlagA(1);
    std::unique_ptr<AttributeDef> cssCopy = css.Clone();
    ASSERT_TRUE(cssCopy->IsCSS());
    EXPECT_EQ(static_cast<CSSAttributeDef&>(*cssCopy).WordA(), 7u);
    EXPECT_TRUE(cssCopy->HasDefault());
    EXPECT_EQ(cssCopy->Type(), nullptr);

    EXPECT_EQ(AttributeType::Create(4, &def), nullptr);
    EXPECT_EQ(def.SetTypeKind(0), nullptr);
}

}  // namespace
}  // namespace markup

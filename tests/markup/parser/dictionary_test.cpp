// Dictionary look-ups and editing: names with and without case, groups,
// allowed children, attribute checks, new ids and the open-dictionary insert.
#include "markup/parser/dictionary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "html_dictionary.h"
#include "sample_dictionary.h"

namespace markup {
namespace {

using namespace markup_test;

std::string Str(const String& s) {
    return s.Text();
}

IdList Ids(std::initializer_list<std::uint32_t> ids) {
    IdList list;
    for (std::uint32_t id : ids) list.Add(id);
    return list;
}

TEST(DictionaryTest, ElementNamesFollowTheCaseMode) {
    auto d = BuildSampleDictionary();
    std::uint32_t id = 0;
    EXPECT_EQ(d->ElementIdByName("BODY", id), kDict_Ok);
    EXPECT_EQ(id, kBody);
    EXPECT_EQ(d->ElementIdByName("body", id), kDict_Ok);
    d->SetCaseSensitive(true);
    EXPECT_EQ(d->ElementIdByName("BODY", id), kDict_NotFound);
    EXPECT_EQ(d->ElementIdByName("body", id), kDict_Ok);

    EXPECT_EQ(d->ElementHasModel("html"), kDict_Unknown);  // 1: has a model
    EXPECT_EQ(d->ElementHasModel("nothing"), kDict_NotFound);
    d->Elements().At(0)->SetModel(nullptr, *d);
    EXPECT_EQ(d->ElementHasModel(d->Elements().At(0)->Id()), kDict_Ok);

    String name;
    EXPECT_TRUE(d->ElementNameById(kPara, name));
    EXPECT_EQ(Str(name), "p");
    EXPECT_FALSE(d->ElementNameById(99, name));
    EXPECT_TRUE(d->AttributeNameById(kAlign, name));
    EXPECT_EQ(Str(name), "align");
    String text;
    EXPECT_TRUE(d->FindEntityText("&lt;", text));
    EXPECT_EQ(Str(text), "<");
    EXPECT_FALSE(d->FindEntityText("&LT;", text));
}

// EMPTY and a definition that allows nothing report no content; ANY and
// extra children without a model do take content.
TEST(DictionaryTest, ContentKindAndEmptinessAgree) {
    markup_test::HtmlDictionaryBuilder b;
    b.Element(1, "empty", "EMPTY").Element(2, "any", "ANY").Element(3, "bare", "");
    b.Element(4, "extras", "").ExtraChildren({1}).Element(5, "model", "(empty)*");
    const auto d = b.Build();
    struct Case {
        std::uint32_t id;
        DictStatus kind;
        bool empty;
    };
    for (const Case& c : {Case{1, kDict_Ok, true}, Case{2, kDict_Unknown, false}, Case{3, kDict_Ok, true},
                          Case{4, kDict_Ok, false}, Case{5, kDict_Unknown, false}}) {
        EXPECT_EQ(d->ElementHasModel(c.id), c.kind) << c.id;
        bool empty = !c.empty;
        EXPECT_TRUE(d->ElementIsEmpty(c.id, empty)) << c.id;
        EXPECT_EQ(empty, c.empty) << c.id;
    }
    bool empty = false;
    EXPECT_FALSE(d->ElementIsEmpty(6, empty));
}

TEST(DictionaryTest, GroupsAnswerByClass) {
    auto d = BuildSampleDictionary();
    // Class 1 holds every id below H2 (14), defined or not, and every defined element.
    EXPECT_TRUE(d->GroupContains(2, ElementGroup::kAllElements));
    EXPECT_FALSE(d->GroupContains(14, ElementGroup::kAllElements));
    EXPECT_TRUE(d->GroupContains(kBold, 5));
    EXPECT_FALSE(d->GroupContains(kPara, 5));
    EXPECT_FALSE(d->GroupContains(kBold, 99));

    std::uint32_t id = 0;
    EXPECT_EQ(d->GroupMember(id, 5, 1), kDict_Ok);
    EXPECT_EQ(id, kTextElementId);
    EXPECT_EQ(d->GroupMember(id, 5, 2), kDict_OutOfRange);
    EXPECT_EQ(d->GroupMember(id, 99, 0), kDict_Missing);
    EXPECT_EQ(d->GroupMember(id, ElementGroup::kAllElements, 0), kDict_Ok);
    EXPECT_EQ(id, kBold);  // "b" is first by name
    EXPECT_EQ(d->GroupSize(ElementGroup::kAllElements), 4u);
    EXPECT_EQ(d->GroupSize(5), 2u);
    EXPECT_EQ(d->GroupSize(99), 0u);

    const ElementGroup* group = nullptr;
    EXPECT_EQ(d->Editor()->GroupByClass(group, 99), kDict_Missing);
    EXPECT_EQ(group, nullptr);
    EXPECT_EQ(d->Editor()->GroupByClass(group, ElementGroup::kAnywhere), kDict_Ok);
    EXPECT_EQ(Str(group->Name()), "anywhere");
}

TEST(DictionaryTest, ChildrenAllowedByTheModelInclusionsAndExclusions) {
    auto d = BuildSampleDictionary();
    const ElementDef& body = *d->FindElement(kBody);
    struct Case {
        std::uint32_t child;
        IdList inclusions;
        IdList exclusions;
        bool allowed;
    };
    const Case cases[] = {
        {kPara, {}, {}, true},
        {kPara, {}, Ids({kPara}), false},            // allowed but excluded
        {kPara, Ids({kPara}), Ids({kPara}), false},  // inclusion does not undo it
        {kHtml, {}, {}, false},
        {kHtml, Ids({kHtml}), {}, true},  // not allowed but included
        {kBold, {}, {}, true},            // the extra child
    };
    for (const Case& c : cases) {
        EXPECT_EQ(d->AllowsChild(body, c.child, c.inclusions, c.exclusions), c.allowed) << c.child;
    }
}

TEST(DictionaryTest, AttributeChecksAndValueCodes) {
    auto d = BuildSampleDictionary();
    const AttributeTypeGroup* group = nullptr;
    EXPECT_EQ(d->AttributeGroup(kAlign, group), kDict_Ok);
    EXPECT_EQ(d->AttributeGroup(kColour, group), kDict_Ok);  // group formatted
    EXPECT_EQ(d->AttributeGroup(kWidth, group), kDict_WrongKind);
    EXPECT_EQ(d->AttributeGroup(kClass, group), kDict_WrongKind);
    EXPECT_EQ(d->AttributeGroup(99, group), kDict_Unknown);
    EXPECT_EQ(d->AttributeGroup(kAlign, group, 1), kDict_Unknown);

    struct Case {
        std::uint32_t id;
        const char* value;
        bool accepted;
        DictStatus result;
    };
    const Case cases[] = {
        {kAlign, "RIGHT", true, kDict_Ok},     {kAlign, "up", false, kDict_NotFound},
        {kDigits, "123", true, kDict_Ok},      {kDigits, "12a", false, kDict_NotFound},
        {kClass, "anything", true, kDict_Ok},  {99, "x", false, kDict_Unknown},
        {kColour, "red, RED", true, kDict_Ok},
    };
    for (const Case& c : cases) {
        DictStatus result = kDict_Reserved8;
        bool unique = true;
        EXPECT_EQ(d->CheckAttribute(result, c.id, c.value, unique), c.accepted) << c.value;
        EXPECT_EQ(result, c.result) << c.value;
        EXPECT_FALSE(unique);
    }

    // A case-sensitive dictionary accepts any value of a known attribute.
    d->SetCaseSensitive(true);
    DictStatus result = kDict_Reserved8;
    bool unique = true;
    EXPECT_TRUE(d->CheckAttribute(result, kAlign, "up", unique));
    EXPECT_EQ(result, kDict_Ok);
    d->SetCaseSensitive(false);

    // Declared type 6 leaves the sibling walk to the caller.
    const_cast<HTMLAttributeDef*>(d->FindAttribute(kAlign))->SetDeclaredType(kDeclaredUnique);
    EXPECT_TRUE(d->CheckAttribute(result, kAlign, "left", unique));
    EXPECT_TRUE(unique);

    EXPECT_EQ(d->AttributeValueCode(kAlign, "Center"), 39u);
    EXPECT_EQ(d->AttributeValueCode(kAlign, "up"), 0u);
    EXPECT_EQ(d->AttributeValueCode(kWidth, "left"), 0u);
    EXPECT_EQ(d->TypedAttributeValue(kAlign, "right"), 2);
    EXPECT_EQ(d->TypedAttributeValue(kWidth, "42"), 42);
    EXPECT_EQ(d->TypedAttributeValue(kWidth, "abc"), 0);
    EXPECT_EQ(d->TypedAttributeValue(99, "1"), 0);
}

TEST(DictionaryTest, NewIdsStartAboveTheHeaderAndSkipThoseInUse) {
    Dictionary d;
    DictionaryEditor& editor = d.CreateEditor();
    d.SetHeader(1, 10);
    EXPECT_EQ(editor.NewElementId(), 186u);
    for (std::uint32_t id : {186u, 187u, 189u}) {
        auto e = std::make_unique<ElementDef>();
        e->SetId(id);
        d.Elements().Insert(std::move(e));
    }
    EXPECT_EQ(editor.NewElementId(), 188u);
    d.SetHeader(1, 300);
    EXPECT_EQ(editor.NewElementId(), 301u);
    d.SetHeader(1, 0xFFFFFFFFu);
    EXPECT_EQ(editor.NewElementId(), 0u);  // no id left above the start

    d.SetHeader(2, 4);
    auto a = std::make_unique<HTMLAttributeDef>();
    a->SetId(5);
    d.Attributes().Insert(std::move(a));
    EXPECT_EQ(editor.NewAttributeId(), 6u);
}

TEST(DictionaryTest, AddingEntitiesThroughTheEditorMarksItModified) {
    Dictionary d;
    DictionaryEditor& editor = d.CreateEditor();
    EXPECT_FALSE(editor.Modified());
    EXPECT_EQ(editor.AddEntity("&amp;", "&"), kDict_Ok);
    EXPECT_TRUE(editor.Modified());
    EXPECT_EQ(editor.AddEntity("&amp;", "and"), kDict_Duplicate);
    const ValueDef* value = nullptr;
    EXPECT_EQ(editor.ValueById(value, 3), kDict_Missing);
    EXPECT_EQ(value, nullptr);
}

}  // namespace
}  // namespace markup

// DocElement and its kinds: clones and copies, the capped type, the type
// searches, names, text parts, the content tests and attribute look-ups.
#include "markup/doc_element.h"

#include <gtest/gtest.h>

#include <memory>

#include "markup/attr_element.h"
#include "markup/faults.h"
#include "markup/text_elements.h"
#include "tree_fixtures.h"

namespace markup {
namespace {

using markup_test::CountedExtra;
using markup_test::E;
using markup_test::FakeDictionary;
using markup_test::Named;
using markup_test::Owned;
using markup_test::Str;
using markup_test::T;
using markup_test::WithAttribute;

// A class of the style engine's kind, derived from AttrElement.
class DerivedElement : public AttrElement {};

TEST(DocElementClone, KeepsTypeTextAndDataButNotFlagsExtraOrLinks) {
    int live = 0;
    Owned<AttrElement> parent(E(30));
    AttrElement* node = Named(31, "body text");
    parent->AppendChild(node);
    node->SetDeclaredEmpty(true);
    node->SetFlags(64 | 8);
    node->SetExtra(std::make_unique<CountedExtra>(live));
    WithAttribute(node, 0x10005, "one");
    WithAttribute(node, 7, "two", 0);

    Owned<DocElement> clone(node->Clone());
    auto* copy = AsAttrElement(clone.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->TypeId(), 31u);
    EXPECT_EQ(Str(copy->Text()), "body text");
    EXPECT_TRUE(copy->DeclaredEmpty());
    EXPECT_EQ(copy->Flags(), 0u);
    EXPECT_EQ(copy->Extra(), nullptr);
    EXPECT_TRUE(copy->IsFree());
    ASSERT_EQ(copy->AttributeCount(), 2u);
    EXPECT_NE(copy->AttributeAt(0), node->AttributeAt(0));  // copies, not shared
    EXPECT_EQ(Str(copy->AttributeAt(1)->value), "two");
    EXPECT_EQ(copy->AttributeAt(1)->specified, 0u);
    EXPECT_EQ(copy->AttributeAt(2), nullptr);

    EXPECT_EQ(live, 1);
    parent.reset();  // frees the subtree, the original and its extra
    EXPECT_EQ(live, 0);
}

TEST(DocElementClone, EachKindClonesToItsOwnClass) {
    FakeDictionary dictionary;
    dictionary.entities["&amp;"] = "&";
    EntityElement entity;
    entity.SetTypeId(kKindEntityReference);
    EXPECT_EQ(entity.SetText(&dictionary, "&amp;"), 0);
    Owned<DocElement> entityCopy(entity.Clone());
    auto* asEntity = dynamic_cast<EntityElement*>(entityCopy.get());
    ASSERT_NE(asEntity, nullptr);
    EXPECT_EQ(Str(asEntity->Name()), "&amp;");
    EXPECT_EQ(Str(asEntity->Text()), "&");

    Owned<RunElement> run(T(kKindText, "abc"));
    Owned<DocElement> runCopy(run->Clone());
    EXPECT_NE(dynamic_cast<RunElement*>(runCopy.get()), nullptr);
    EXPECT_EQ(AsAttrElement(runCopy.get()), nullptr);
}

TEST(DocElementCopy, RefusesOtherTypesAndClasses) {
    Owned<AttrElement> element(E(5));
    Owned<AttrElement> other(E(6));
    Owned<RunElement> run(T(5, "x"));
    EXPECT_THROW(element->CopyFrom(nullptr), InvalidArgumentFault);
    EXPECT_THROW(element->CopyFrom(other.get()), InvalidArgumentFault);
    EXPECT_THROW(element->CopyFrom(run.get()), InvalidArgumentFault);  // same type, no attributes
    EXPECT_NO_THROW(run->CopyFrom(element.get()));
    // Copying replaces the attributes, and copying from itself keeps them.
    WithAttribute(element.get(), 1, "a");
    Owned<AttrElement> same(E(5));
    WithAttribute(same.get(), 2, "b");
    WithAttribute(same.get(), 3, "c");
    same->CopyFrom(element.get());
    ASSERT_EQ(same->AttributeCount(), 1u);
    EXPECT_EQ(same->AttributeAt(0)->id, 1u);
    element->CopyFrom(element.get());
    EXPECT_EQ(element->AttributeCount(), 1u);
}

TEST(DocElementType, CapsWhatItReportsButSearchesByStoredId) {
    // p(200, 141-cell(146-cell(200-leaf)))
    AttrElement* leaf = E(200);
    AttrElement* inner = E(146, {leaf});
    AttrElement* learned = E(201);
    Owned<AttrElement> top(E(200, {E(186), inner, learned, E(141)}));
    EXPECT_EQ(leaf->GetType(), 185u);
    EXPECT_EQ(leaf->TypeId(), 200u);
    EXPECT_EQ(DocElement::TypeOf(leaf), 185u);
    EXPECT_EQ(DocElement::TypeOf(nullptr), 0u);

    EXPECT_EQ(leaf->FindAncestorOfType(200), leaf);
    EXPECT_EQ(leaf->FindAncestorOfType(141), inner);  // 141 finds 146
    EXPECT_EQ(leaf->FindAncestorOfType(146), inner);
    EXPECT_EQ(leaf->FindAncestorOfType(185), nullptr);  // 200 is not 185
    EXPECT_EQ(inner->FindNextSiblingOfType(201), learned);
    EXPECT_EQ(inner->FindNextSiblingOfType(200), nullptr);
    EXPECT_EQ(learned->FindPreviousSiblingOfType(141), inner);
    EXPECT_EQ(inner->FindNextSiblingOfType(141), top->LastChild());
    EXPECT_EQ(learned->FindPreviousSiblingOfType(186), top->FirstChild());
}

TEST(DocElementType, AsAttrElementByClass) {
    Owned<DocElement> run(T(kKindText, "x"));
    EntityElement entity;
    DocElement plain;
    DerivedElement derived;
    EXPECT_EQ(AsAttrElement(run.get()), nullptr);
    EXPECT_EQ(AsAttrElement(&entity), nullptr);
    EXPECT_EQ(AsAttrElement(&plain), nullptr);
    EXPECT_EQ(AsAttrElement(static_cast<Node*>(nullptr)), nullptr);
    EXPECT_EQ(AsAttrElement(&derived), &derived);
}

struct NameCase {
    std::uint32_t type;
    const char* text;
    const char* name;  // null: InvalidArgumentFault
};

class DocElementName : public testing::TestWithParam<NameCase> {};

TEST_P(DocElementName, ByDictionaryThenByKind) {
    FakeDictionary dictionary;
    dictionary.elements[12] = "svg";
    dictionary.elements[171] = "defined-anyway";
    const NameCase& c = GetParam();
    DocElement node;
    node.SetTypeId(c.type);
    node.SetText(nullptr, c.text);
    if (c.name) {
        EXPECT_EQ(Str(node.GetName(&dictionary)), c.name);
    } else {
        EXPECT_THROW(node.GetName(&dictionary), InvalidArgumentFault);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, DocElementName,
                         testing::Values(NameCase{12, "ignored", "svg"}, NameCase{171, "x", "defined-anyway"},
                                         NameCase{0, "own", "own"},
                                         NameCase{87, "<?xml-stylesheet", "<?xml-stylesheet"},
                                         NameCase{165, "<!DOCTYPE svg", "<!DOCTYPE svg"},
                                         NameCase{172, "/p", "/p"}, NameCase{166, "data", "[CData["},
                                         NameCase{160, "a", "#text"}, NameCase{163, " ", "#whitespace"},
                                         NameCase{173, "", "#document"}, NameCase{13, "", nullptr},
                                         NameCase{174, "", nullptr}, NameCase{200, "", nullptr}));

TEST(DocElementName, EntityReferenceIsNamedByItsName) {
    EntityElement entity;
    entity.SetTypeId(kKindEntityReference);
    EXPECT_EQ(entity.SetText(nullptr, "&unknown;"), 1);
    EXPECT_EQ(Str(entity.GetName(nullptr)), "&unknown;");
    EXPECT_EQ(Str(entity.TextRef()), "&unknown;");
    EXPECT_EQ(Str(entity.Text()), "");
}

struct PartCase {
    const char* op;
    std::uint32_t a;
    std::uint32_t b;
    const char* text;
};

class DocElementTextParts : public testing::TestWithParam<PartCase> {};

TEST_P(DocElementTextParts, CloneWithPartOfTheText) {
    const PartCase& c = GetParam();
    Owned<RunElement> run(T(kKindText, "abcdef"));
    run->SetFlags(8);
    Owned<DocElement> part;
    const std::string op = c.op;
    if (op == "left") part.reset(run->TextLeft(nullptr, c.a));
    if (op == "right") part.reset(run->TextRight(nullptr, c.a));
    if (op == "mid") part.reset(run->TextMid(nullptr, c.a, c.b));
    ASSERT_NE(dynamic_cast<RunElement*>(part.get()), nullptr);
    EXPECT_EQ(Str(part->Text()), c.text);
    EXPECT_EQ(Str(run->Text()), "abcdef");
    EXPECT_EQ(part->Flags(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Ranges, DocElementTextParts,
                         testing::Values(PartCase{"left", 2, 0, "ab"}, PartCase{"left", 9, 0, "abcdef"},
                                         PartCase{"right", 2, 0, "cdef"}, PartCase{"right", 6, 0, ""},
                                         PartCase{"right", 9, 0, ""}, PartCase{"mid", 1, 4, "bcd"},
                                         PartCase{"mid", 4, 9, "ef"}, PartCase{"mid", 4, 1, ""},
                                         PartCase{"mid", 3, 3, ""}));

TEST(RunElementText, HasTextRefusesBlankKinds) {
    struct Row {
        std::uint32_t type;
        const char* text;
        bool has;
    };
    const Row rows[] = {{160, "x", true},        {160, "", false},  {160, "\xA0", false},
                        {160, "\xA0\xA0", true}, {163, "x", false}, {164, " ", true}};
    for (const Row& r : rows) {
        Owned<RunElement> run(T(r.type, r.text));
        EXPECT_EQ(run->HasText(), r.has) << r.type << " \"" << r.text << "\"";
    }
}

class ContentTests : public testing::Test {
  protected:
    ContentTests() {
        dictionary_.groups[6] = {60};
        dictionary_.groups[7] = {70};
        dictionary_.groups[8] = {80, 81, 82};
        dictionary_.emptiness[80] = true;
        dictionary_.emptiness[81] = false;  // 82 has no definition
    }
    FakeDictionary dictionary_;
};

TEST_F(ContentTests, SignificanceByKindGroupAndDefinition) {
    struct Row {
        std::uint32_t type;
        bool significant;
    };
    const Row rows[] = {{139, false}, {140, false}, {150, false}, {159, false}, {160, false},
                        {163, false}, {164, false}, {60, true},   {70, true},   {12, true},
                        {80, true},   {81, false},  {82, false}};
    for (const Row& r : rows) {
        DocElement node;
        node.SetTypeId(r.type);
        EXPECT_EQ(node.IsSignificant(&dictionary_), r.significant) << r.type;
    }
}

TEST_F(ContentTests, HasContentLooksThroughNonSignificantChildren) {
    // A lone no-break space is no content, alone or as an element's only
    // child; text deeper down, below non-significant wrappers, is.
    Owned<RunElement> space(T(160, "\xA0"));
    EXPECT_FALSE(space->HasContent(&dictionary_));
    Owned<AttrElement> wrapper(E(81, {T(160, "\xA0")}));
    EXPECT_FALSE(wrapper->HasContent(&dictionary_));
    Owned<AttrElement> deep(E(81, {T(163, "ignored"), E(82, {E(81, {T(164, "x")})})}));
    EXPECT_TRUE(deep->HasContent(&dictionary_));
    Owned<AttrElement> empty(E(81, {E(82), T(163, "x"), T(164, "")}));
    EXPECT_FALSE(empty->HasContent(&dictionary_));
    Owned<AttrElement> image(E(81, {E(82, {E(80)})}));  // a declared-empty element
    EXPECT_TRUE(image->HasContent(&dictionary_));
    // Text below a text node does not count: text ends the descent.
    Owned<AttrElement> textTree(E(81, {T(163, "")}));
    textTree->FirstChild()->AppendChild(T(160, "hidden"));
    EXPECT_FALSE(textTree->HasContent(&dictionary_));
    Owned<AttrElement> none(E(81));
    EXPECT_FALSE(none->HasContent(&dictionary_));
}

TEST(AttributeSearch, PlainIdsMatchTheLowPartPackedIdsMatchWhole) {
    Owned<AttrElement> node(E(16));
    WithAttribute(node.get(), PackAttributeId(16, 80), "packed");
    WithAttribute(node.get(), 0xB90050, "unpackable");  // reduces to 0
    WithAttribute(node.get(), 81, "unspecified", 0);
    WithAttribute(node.get(), 82, "plain");
    struct Row {
        std::uint32_t id;
        bool requireValue;
        const char* value;  // null: none
    };
    const Row rows[] = {{80, false, "packed"},    {0x100050, true, "packed"},      {0x110050, false, nullptr},
                        {0, false, "unpackable"}, {0xB90050, false, "unpackable"}, {81, false, "unspecified"},
                        {81, true, nullptr},      {0x100052, false, nullptr},      {82, true, "plain"},
                        {83, false, nullptr}};
    for (const Row& r : rows) {
        const Attribute* found = node->FindAttribute(r.id, r.requireValue);
        if (r.value) {
            ASSERT_NE(found, nullptr) << std::hex << r.id;
            EXPECT_EQ(Str(found->value), r.value) << std::hex << r.id;
        } else {
            EXPECT_EQ(found, nullptr) << std::hex << r.id;
        }
    }
}

TEST(AttributeSearch, AttributeTextJoinsNamesAndValues) {
    FakeDictionary dictionary;
    dictionary.attributes[0x480001] = "href";
    Owned<AttrElement> node(E(72));
    WithAttribute(node.get(), 0x480001, "a.css");
    auto typeAttribute = std::make_unique<Attribute>(0, String("type"));
    typeAttribute->value = "text/css";
    node->AddAttribute(std::move(typeAttribute));
    EXPECT_EQ(Str(node->GetAttributeText(&dictionary, false)), "href=a.csstype=text/css");
    EXPECT_EQ(Str(node->GetAttributeText(&dictionary, true)), "href=a.css");
    EXPECT_EQ(Str(node->GetAttributeText(nullptr, false)), "=a.csstype=text/css");
    Owned<AttrElement> bare(E(72));
    EXPECT_EQ(Str(bare->GetAttributeText(&dictionary, true)), "");
}

TEST(AttributeRecord, NamesMarksAndAssign) {
    FakeDictionary dictionary;
    dictionary.attributes[5] = "width";
    Attribute fromId(5);
    EXPECT_EQ(Str(fromId.GetName(&dictionary)), "width");
    EXPECT_EQ(Str(Attribute(0).GetName(&dictionary)), "");
    EXPECT_EQ(Str(Attribute(5, "Written").GetName(&dictionary)), "Written");
    Attribute percent(5);
    percent.value = "50%";
    EXPECT_EQ(percent.ParameterMark(), 16u);
    EXPECT_EQ(fromId.ParameterMark(), 0u);
    Attribute target(9, "keep?");
    percent.specified = 0;
    percent.valueCode = 4;
    target.Assign(percent);
    EXPECT_EQ(target.id, 5u);
    EXPECT_EQ(Str(target.value), "50%");
    EXPECT_EQ(target.valueCode, 4u);
    EXPECT_EQ(target.specified, 0u);
    EXPECT_EQ(Str(target.name), "");
    EXPECT_EQ(NormalizeAttributeId(0xB8FFFF), 0xFFFFu);
    EXPECT_EQ(NormalizeAttributeId(0xB90000), 0u);
}

}  // namespace
}  // namespace markup

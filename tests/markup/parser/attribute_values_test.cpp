// Attribute values through the dictionary, the check of one attribute on
// its element with the walk over like siblings, and the node classes the XML
// factory makes.
#include "markup/parser/attribute_values.h"

#include <gtest/gtest.h>

#include "markup/parser/xml_element_factory.h"
#include "markup/text_elements.h"
#include "sample_dictionary.h"

namespace markup {
namespace {

using namespace markup_test;

TEST(AttributeValuesTest, TheValueCodeIsTheEnumeratedValueMatched) {
    auto d = BuildSampleDictionary();
    Attribute align(kAlign);
    SetAttributeValue(align, d.get(), "RIGHT");
    EXPECT_EQ(align.valueCode, 202u);
    SetAttributeValue(align, d.get(), "up");
    EXPECT_EQ(align.valueCode, 0u);
    EXPECT_STREQ(align.value.Text(), "up");
    SetAttributeValue(align, nullptr, "left");
    EXPECT_EQ(align.valueCode, 0u);
}

// Three p elements in a row; the unique attribute is "align" (declared type 6).
struct SiblingFixture : testing::Test {
    SiblingFixture() : dictionary(BuildSampleDictionary()) {
        const_cast<HTMLAttributeDef*>(dictionary->FindAttribute(kAlign))->SetDeclaredType(kDeclaredUnique);
        for (int i = 0; i < 3; ++i) {
            auto* p = new AttrElement;
            p->SetTypeId(i == 1 ? kBold : kPara);
            parent.AppendChild(p);
        }
    }
    ~SiblingFixture() override {
        while (Node* child = parent.FirstChild()) {
            child->Unlink();
            child->DeleteSubtree();
        }
    }
    AttrElement* At(std::uint32_t i) { return AsAttrElement(parent.ChildAt(i)); }
    void Give(std::uint32_t i, const char* value) {
        auto a = std::make_unique<Attribute>(kAlign);
        a->value = value;
        At(i)->AddAttribute(std::move(a));
    }

    std::unique_ptr<Dictionary> dictionary;
    AttrElement parent;
};

TEST_F(SiblingFixture, AUniqueAttributeFailsWhenAnEarlierLikeSiblingCarriesIt) {
    Give(2, "left");
    DictStatus result = kDict_Ok;
    EXPECT_TRUE(CheckElementAttribute(*dictionary, result, *At(2), 0));
    Give(1, "left");  // an element of another type does not count
    EXPECT_TRUE(CheckElementAttribute(*dictionary, result, *At(2), 0));
    Give(0, "right");
    EXPECT_FALSE(CheckElementAttribute(*dictionary, result, *At(2), 0));
    EXPECT_EQ(result, kDict_Unknown);
    EXPECT_TRUE(CheckElementAttribute(*dictionary, result, *At(0), 0));  // the first of them is fine
    EXPECT_EQ(result, kDict_Ok);
}

TEST_F(SiblingFixture, ValuesTheTypeRefusesAndMissingAttributesFail) {
    Give(0, "sideways");
    DictStatus result = kDict_Ok;
    EXPECT_FALSE(CheckElementAttribute(*dictionary, result, *At(0), 0));
    EXPECT_EQ(result, kDict_NotFound);
    EXPECT_FALSE(CheckElementAttribute(*dictionary, result, *At(0), 1));
    EXPECT_EQ(result, kDict_Unknown);
}

TEST(XMLElementFactoryTest, TheNodeClassFollowsTheTypeId) {
    auto d = BuildSampleDictionary();
    auto* empty = d->Elements().FindById(kBold);
    empty->SetModel(nullptr, *d);  // b now takes nothing: declared empty
    XMLElementFactory factory;
    struct Row {
        std::uint32_t id;
        const char* kind;
    };
    for (const Row& row : {Row{kPara, "element"}, Row{159, "element"}, Row{160, "run"}, Row{163, "run"},
                           Row{165, "run"}, Row{166, "element"}, Row{167, "entity"}, Row{168, "element"},
                           Row{173, "element"}, Row{400, "element"}}) {
        const String name("&amp;");
        DocElement* node = factory.Create(d.get(), row.id, &name, 1);
        ASSERT_NE(node, nullptr);
        const char* kind = dynamic_cast<EntityElement*>(node) ? "entity"
                           : dynamic_cast<RunElement*>(node)  ? "run"
                           : AsAttrElement(node)              ? "element"
                                                              : "doc";
        EXPECT_STREQ(kind, row.kind) << row.id;
        EXPECT_EQ(node->TypeId(), row.id);
        EXPECT_EQ(node->Flags(), 0u);
        node->DeleteSubtree();
    }
    DocElement* bold = factory.Create(d.get(), kBold, nullptr, 0);
    EXPECT_TRUE(bold->DeclaredEmpty());
    EXPECT_EQ(bold->Flags(), XMLElementFactory::kFlagMadeByBuilder);
    bold->DeleteSubtree();
    DocElement* para = factory.Create(d.get(), kPara, nullptr, 1);
    EXPECT_FALSE(para->DeclaredEmpty());
    para->DeleteSubtree();
    auto* entity = dynamic_cast<EntityElement*>(factory.Create(d.get(), kKindEntityReference, nullptr, 1));
    ASSERT_NE(entity, nullptr);
    entity->SetText(d.get(), "&lt;");
    EXPECT_STREQ(entity->Text().Text(), "<");
    entity->DeleteSubtree();
}

}  // namespace
}  // namespace markup

// The HTML node classes, the element factory and embedded-control sizes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <typeinfo>

#include "imageload/image_handler.h"
#include "markup/faults.h"
#include "markup/style/html_elements.h"
#include "markup/style/wer_element_factory.h"
#include "platform/embedded_controls.h"
#include "style_fixtures.h"
#include "tree_fixtures.h"

namespace {

using markup::DocElement;
using markup::style::ActiveXElementBase;
using markup::style::WerElementFactory;
using style_test::Str;

struct ClassCase {
    std::uint32_t type;
    const char* className;
};

class FactoryClasses : public testing::TestWithParam<ClassCase> {};

std::string ClassOf(const DocElement* node) {
    if (dynamic_cast<const markup::style::AreaElement*>(node)) return "area";
    if (dynamic_cast<const markup::style::AttrElementParagraph*>(node)) return "paragraph";
    if (dynamic_cast<const markup::style::AttrElementTable*>(node)) return "table";
    if (dynamic_cast<const markup::style::AttrElementTDTH*>(node)) return "cell";
    if (dynamic_cast<const ActiveXElementBase*>(node)) return "activex";
    if (dynamic_cast<const markup::style::CDataRun*>(node)) return "cdata";
    if (dynamic_cast<const markup::EntityElement*>(node)) return "entity";
    if (dynamic_cast<const markup::RunElement*>(node)) return "run";
    if (dynamic_cast<const markup::AttrElement*>(node)) return "element";
    return "?";
}

TEST_P(FactoryClasses, TypeGivesClassAndCloneKeepsIt) {
    WerElementFactory factory;
    markup_test::FakeDictionary dictionary;
    dictionary.emptiness[GetParam().type] = true;
    const markup::String name("n");
    std::unique_ptr<DocElement> node(factory.Create(&dictionary, GetParam().type, &name, 0));
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(ClassOf(node.get()), GetParam().className);
    EXPECT_EQ(node->TypeId(), GetParam().type);
    EXPECT_TRUE(node->DeclaredEmpty());
    EXPECT_TRUE(node->HasFlag(WerElementFactory::kFlagMadeByBuilder));
    std::unique_ptr<DocElement> clone(node->Clone());
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(ClassOf(clone.get()), GetParam().className) << "the clone keeps the class";
    EXPECT_EQ(clone->TypeId(), GetParam().type);
}

INSTANTIATE_TEST_SUITE_P(Types, FactoryClasses,
                         testing::Values(ClassCase{7, "area"}, ClassCase{45, "paragraph"},
                                         ClassCase{59, "paragraph"}, ClassCase{64, "paragraph"},
                                         ClassCase{109, "paragraph"}, ClassCase{113, "paragraph"},
                                         ClassCase{159, "paragraph"}, ClassCase{139, "table"},
                                         ClassCase{141, "cell"}, ClassCase{146, "cell"},
                                         ClassCase{103, "activex"}, ClassCase{166, "cdata"},
                                         ClassCase{160, "run"}, ClassCase{165, "run"},
                                         ClassCase{167, "entity"}, ClassCase{25, "element"},
                                         ClassCase{186, "element"}));

TEST(WerElementFactory, KeepFlagsLeavesTheBuilderMarkOff) {
    WerElementFactory factory;
    std::unique_ptr<DocElement> node(factory.Create(nullptr, 25, nullptr, 1));
    EXPECT_FALSE(node->HasFlag(WerElementFactory::kFlagMadeByBuilder));
    EXPECT_FALSE(node->DeclaredEmpty());
}

TEST(HTMLElements, CellsAnswerAsCellsTablesDoNot) {
    markup::style::AttrElementTDTH cell;
    markup::style::AttrElementTable table;
    EXPECT_TRUE(cell.IsCell());
    EXPECT_FALSE(table.IsCell());
    EXPECT_TRUE(ActiveXElementBase().IsEmbedded());
}

TEST(CDataRun, OutputTextWrapsTheText) {
    WerElementFactory factory;
    const markup::String text("a < b");
    std::unique_ptr<DocElement> node(factory.Create(nullptr, 166, &text, 1));
    EXPECT_EQ(Str(node->TextRef()), "<![CDATA[a < b]]>");
    EXPECT_EQ(Str(node->Text()), "a < b");
    node->SetText(nullptr, "x");
    EXPECT_EQ(Str(node->TextRef()), "<![CDATA[x]]>");
}

class CountedLayout : public markup::ExtraObject {
  public:
    explicit CountedLayout(int& live) : live_(live) { ++live_; }
    ~CountedLayout() override { --live_; }

  private:
    int& live_;
};

TEST(AttrElementTable, DestructionFreesItsLayout) {
    int live = 0;
    auto table = std::make_unique<markup::style::AttrElementTable>();
    markup::style::SetTableLayout(table.get(), std::make_unique<CountedLayout>(live));
    EXPECT_NE(markup::style::FindTableLayout(table.get()), nullptr);
    EXPECT_EQ(live, 1);
    markup::style::SetTableLayout(table.get(), std::make_unique<CountedLayout>(live));
    EXPECT_EQ(live, 1) << "a new layout replaces the old";
    table.reset();
    EXPECT_EQ(live, 0);
}

// A control whose view is 2540 by 1270 HIMETRIC (one inch by half an inch).
class InchControl : public platform::EmbeddedControl {
  public:
    explicit InchControl(int& inits) : inits_(inits) {}
    bool InitNew() override {
        ++inits_;
        return true;
    }
    bool GetExtent(std::uint32_t aspect, platform::HimetricSize& out) override {
        if (aspect != platform::kAspectContent) return false;
        out = {2540, 1270};
        return true;
    }

  private:
    int& inits_;
};

class EmbeddedControlSize : public testing::Test {
  protected:
    EmbeddedControlSize() {
        platform::ClassIdFromString("{0A1B2C3D-0000-1111-2222-333344445555}", id_);
        scoped_ = std::make_unique<platform::ScopedControlClass>(
            id_, [this] { return std::make_unique<InchControl>(inits_); });
    }
    static void Attribute(ActiveXElementBase& element, std::uint32_t id, const char* value) {
        markup_test::WithAttribute(&element, id, value);
    }

    platform::ClassId id_;
    int inits_ = 0;
    std::unique_ptr<platform::ScopedControlClass> scoped_;
};

TEST_F(EmbeddedControlSize, ControlExtentGivesPixels) {
    for (const char* classId : {"clsid:0A1B2C3D-0000-1111-2222-333344445555", "0a1b2c3d-0000-1111-2222-333344445555"}) {
        ActiveXElementBase element;
        Attribute(element, ActiveXElementBase::kClassIdAttribute, classId);
        element.Measure();
        EXPECT_TRUE(element.PlaceholderLoaded()) << classId;
        EXPECT_EQ(element.Width(), 96) << classId;
        EXPECT_EQ(element.Height(), 48) << classId;
    }
    EXPECT_EQ(inits_, 2) << "each instance is initialised as new";
}

TEST_F(EmbeddedControlSize, AttributesWinWhenBothAreGiven) {
    ActiveXElementBase element;
    Attribute(element, ActiveXElementBase::kClassIdAttribute, "clsid:0A1B2C3D-0000-1111-2222-333344445555");
    Attribute(element, ActiveXElementBase::kWidthAttribute, "200");
    Attribute(element, ActiveXElementBase::kHeightAttribute, "0");
    element.Measure();
    EXPECT_EQ(element.Width(), 96) << "a height of 0 asks the control";
    ActiveXElementBase sized;
    Attribute(sized, ActiveXElementBase::kWidthAttribute, "200");
    Attribute(sized, ActiveXElementBase::kHeightAttribute, "30");
    sized.Measure();
    EXPECT_EQ(sized.Width(), 200);
    EXPECT_EQ(sized.Height(), 30);
    EXPECT_TRUE(sized.PlaceholderLoaded());
}

TEST_F(EmbeddedControlSize, PlaceholderIsHeldUntilTheElementGoes) {
    imageload::ImageHandler& cache = imageload::ImageHandler::Instance();
    platform::Rect rect{};
    // Our own use keeps the placeholder cached while the elements come and go.
    imageload::Image* own = cache.GetPlaceholder(imageload::kMediaActiveX, nullptr, rect);
    {
        auto first = std::make_unique<ActiveXElementBase>();
        Attribute(*first, ActiveXElementBase::kWidthAttribute, "200");
        Attribute(*first, ActiveXElementBase::kHeightAttribute, "30");
        first->Measure();
        first->Measure();  // measured again: still one use
        EXPECT_EQ(first->Placeholder(), own);
        EXPECT_EQ(first->Width(), 200) << "drawn at the element's size, not the placeholder's";
        ActiveXElementBase second;
        Attribute(second, ActiveXElementBase::kClassIdAttribute, "clsid:0A1B2C3D-0000-1111-2222-333344445555");
        second.Measure();
        EXPECT_EQ(second.Placeholder(), own);
        EXPECT_EQ(own->useCount, 3u);
        first.reset();
        EXPECT_EQ(own->useCount, 2u);
        ActiveXElementBase unsized;
        unsized.Measure();
        EXPECT_EQ(unsized.Placeholder(), nullptr);
    }
    EXPECT_EQ(own->useCount, 1u);
    EXPECT_EQ(cache.ReleaseImage(own), 0u);
    markup::Singleton<imageload::ImageHandler>::Release();
}

TEST_F(EmbeddedControlSize, UnknownOrInvalidClassGivesNoSize) {
    for (const char* classId : {"clsid:not-a-class-id", "clsid:99999999-0000-1111-2222-333344445555", ""}) {
        ActiveXElementBase element;
        Attribute(element, ActiveXElementBase::kClassIdAttribute, classId);
        element.Measure();
        EXPECT_FALSE(element.PlaceholderLoaded()) << classId;
        EXPECT_EQ(element.Width(), 0) << classId;
        EXPECT_EQ(element.Height(), 0) << classId;
    }
    EXPECT_EQ(inits_, 0);
}

}  // namespace

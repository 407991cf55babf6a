// The style mapper over trees built in code: the record cache, inheritance
// and the HTML presentation (lists, border shading, control sizes) under
// the fixed font back end.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "markup/doc_tree.h"
#include "markup/style/graphics_imp.h"
#include "markup/style/style_map.h"
#include "markup/style/visual_doc.h"
#include "platform/font_backend.h"
#include "platform/system_info.h"
#include "style_fixtures.h"
#include "tree_fixtures.h"

namespace {

using markup::AttrElement;
using markup::Node;
using markup::style::StyleMapImp;
using markup::style::StyleProperties;
using markup_test::E;
using markup_test::T;
using style_test::Str;

class ModeSettings : public markup::style::VisualSettings {
  public:
    std::uint32_t StyleMode() const override { return mode; }
    std::uint32_t mode = 0;
};

AttrElement* With(AttrElement* node, std::uint32_t id, const char* value, std::uint32_t code = 0) {
    markup_test::WithAttribute(node, id, value);
    node->FindAttribute(id, false)->valueCode = code;
    return node;
}

// A document node (173) holding a body (25); the tree owns the nodes.
class StyleMapTest : public testing::Test {
  protected:
    StyleMapTest() : graphics_(backend_), tree_(nullptr, nullptr), container_(&settings_) {
        document_ = E(173, {body_ = E(25)});
        tree_.AppendChild(document_);
    }

    StyleMapImp& Mapper() {
        if (!mapper_) mapper_ = std::make_unique<StyleMapImp>(&tree_, nullptr, &container_);
        return *mapper_;
    }
    StyleProperties* Style(Node* node) {
        StyleProperties* style = nullptr;
        EXPECT_TRUE(Mapper().GetStyle(node, style));
        return style;
    }
    std::string Marker(Node* node) {
        StyleProperties* style = Style(node);
        markup::String text;
        return style ? Str(style->GetSecondString(text)) : "-";
    }
    std::string Size(Node* node) {
        StyleProperties* style = Style(node);
        std::int32_t wu = 0, hu = 0;
        const std::int32_t w = style->GetIntLength(46, wu);
        const std::int32_t h = style->GetIntLength(47, hu);
        return std::to_string(w) + "/" + std::to_string(wu) + " x " + std::to_string(h) + "/" + std::to_string(hu);
    }

    platform::FixedFontBackend backend_;
    markup::style::GraphicsImp graphics_;
    markup::DocTree tree_;
    ModeSettings settings_;
    markup::style::VisualContainer container_;
    AttrElement* document_;
    AttrElement* body_;
    std::unique_ptr<StyleMapImp> mapper_;
};

TEST_F(StyleMapTest, RecordsAreCachedAndTextSharesItsParents) {
    AttrElement* paragraph = E(80, {T(160, "text"), T(163, " "), E(159, {T(160, "wrapped")})});
    body_->AppendChild(paragraph);
    StyleProperties* style = Style(paragraph);
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(Style(paragraph), style) << "the second request answers the cached record";
    EXPECT_EQ(paragraph->Extra(), style);
    EXPECT_EQ(Style(paragraph->FirstChild()), style);
    EXPECT_EQ(Style(paragraph->ChildAt(2)->FirstChild()), style) << "through a wrapper";
    EXPECT_EQ(Style(paragraph->ChildAt(1)), nullptr) << "whitespace before markup has none";
    EXPECT_EQ(paragraph->FirstChild()->IsFree(), false);

    StyleProperties* none = reinterpret_cast<StyleProperties*>(1);
    EXPECT_FALSE(Mapper().GetStyle(nullptr, none));
    EXPECT_EQ(none, nullptr);
    EXPECT_NE(Style(document_), nullptr) << "the document node inherits nothing and is safe";

    Mapper().ClearCache(body_);
    EXPECT_EQ(paragraph->Extra(), nullptr);
    EXPECT_NE(document_->Extra(), nullptr) << "only the subtree";
}

TEST_F(StyleMapTest, AnotherEnginesObjectIsLeftAlone) {
    int live = 0;
    AttrElement* foreign = E(80, {E(81)});
    foreign->SetExtra(std::make_unique<markup_test::CountedExtra>(live));
    body_->AppendChild(foreign);
    EXPECT_EQ(Style(foreign), nullptr);
    EXPECT_EQ(live, 1);
    EXPECT_NE(Style(foreign->FirstChild()), nullptr) << "its child inherits nothing from it";
    mapper_.reset();
    EXPECT_EQ(live, 1) << "the mapper's destructor clears only its own records";
    foreign->SetExtra(nullptr);  // while the count it decrements still lives
    EXPECT_EQ(live, 0);
}

TEST_F(StyleMapTest, DeepTreesAreStyledWithoutDeepRecursion) {
    Node* last = body_;
    for (int i = 0; i < 100000; ++i) {
        Node* next = E(80);
        last->AppendChild(next);
        last = next;
    }
    EXPECT_NE(Style(last), nullptr);
    EXPECT_NE(static_cast<AttrElement*>(body_->FirstChild())->Extra(), nullptr);
}

TEST_F(StyleMapTest, InheritanceFollowsTheParentsRecord) {
    AttrElement* bold = E(13, {E(80)});
    body_->AppendChild(bold);
    EXPECT_TRUE(Style(bold)->GetFlag(5));
    EXPECT_TRUE(Style(bold->FirstChild())->GetFlag(5)) << "bold is inherited";
    AttrElement* input = E(73);
    bold->AppendChild(input);
    EXPECT_FALSE(Style(input)->GetFlag(5)) << "inputs are never bold";
}

TEST_F(StyleMapTest, OrderedListsNumberTheirItems) {
    AttrElement* wrapper = E(181, {E(85)});
    AttrElement* list = E(105, {E(85), E(85), wrapper, E(85)});
    body_->AppendChild(list);
    EXPECT_EQ(Marker(list->ChildAt(0)), "1.");
    EXPECT_EQ(Marker(list->ChildAt(3)), "4.") << "items inside a wrapper count";
    EXPECT_EQ(Marker(wrapper->FirstChild()), "3.");
    EXPECT_EQ(Marker(list->ChildAt(1)), "2.");

    struct Row {
        std::uint32_t typeCode;
        const char* start;
        const char* third;
    };
    const Row rows[] = {{104, nullptr, "iii."}, {105, "4", "VI."}, {7, "26", "ab."},
                        {8, nullptr, "C."},     {6, "-2", "0."}};
    for (const Row& row : rows) {
        AttrElement* typed = With(E(105, {E(85), E(85), E(85)}), 170, "t", row.typeCode);
        if (row.start) With(typed, 159, row.start);
        body_->AppendChild(typed);
        EXPECT_EQ(Marker(typed->ChildAt(2)), row.third) << row.typeCode;
    }
}

TEST_F(StyleMapTest, UnorderedListsStepTheirBulletsAndDoNotNumber) {
    AttrElement* inner = E(153, {E(85)});
    AttrElement* outer = E(153, {E(85, {inner})});
    body_->AppendChild(outer);
    EXPECT_EQ(Style(outer)->GetKeyword(57), 77u);
    EXPECT_EQ(Style(inner)->GetKeyword(57), 45u);
    EXPECT_EQ(Marker(outer->FirstChild()), "");
    EXPECT_EQ(Style(outer->FirstChild())->GetControlKind(), 3u);
    EXPECT_EQ(Style(inner->FirstChild())->GetControlKind(), 2u);
    std::int32_t unit = 0;
    EXPECT_EQ(Style(inner->FirstChild())->GetIntLength(32, unit), 40) << "the lists up to the first other element";
    AttrElement* nested = E(153, {E(153, {E(85)})});
    body_->AppendChild(nested);
    EXPECT_EQ(Style(nested->FirstChild()->FirstChild())->GetIntLength(32, unit), 80) << "two lists deep";
}

constexpr std::uint32_t Grey(std::uint32_t v) {
    return v | (v << 8) | (v << 16);
}

TEST_F(StyleMapTest, TablesAndCellsShadeTheBodyBackgroundOppositeWays) {
    With(body_, 14, "#808080");
    AttrElement* cell = E(141);
    AttrElement* table = E(139, {E(140, {cell})});
    body_->AppendChild(table);
    StyleProperties* t = Style(table);
    EXPECT_EQ(t->GetWord(101), Grey(211));
    EXPECT_EQ(t->GetWord(103), Grey(211));
    EXPECT_EQ(t->GetWord(102), Grey(108));
    EXPECT_EQ(t->GetWord(104), Grey(108));
    StyleProperties* c = Style(cell);
    EXPECT_EQ(c->GetWord(101), Grey(108)) << "a cell is sunk";
    EXPECT_EQ(c->GetWord(102), Grey(211));
    std::int32_t unit = 0;
    EXPECT_EQ(c->GetIntLength(24, unit), 2) << "the table's default spacing";
    EXPECT_EQ(c->GetIntLength(29, unit), 1) << "the table's default padding";
}

TEST_F(StyleMapTest, WhiteOrNoBodyGivesTheButtonColours) {
    AttrElement* table = E(139);
    body_->AppendChild(table);  // the body takes the window colour, white
    EXPECT_EQ(Style(table)->GetWord(101), platform::SystemColour(platform::kColourButtonFace));
    EXPECT_EQ(Style(table)->GetWord(102), platform::SystemColour(platform::kColourButtonShadow));
    AttrElement* loose = E(139);
    document_->AppendChild(loose);  // no body above it
    EXPECT_EQ(Style(loose)->GetWord(101), platform::SystemColour(platform::kColourButtonFace));
    EXPECT_EQ(Style(loose)->GetWord(104), platform::SystemColour(platform::kColourButtonShadow));
    AttrElement* coloured = With(E(139), 17, "#FF0000");
    body_->AppendChild(coloured);
    EXPECT_EQ(Style(coloured)->GetWord(101), 0xA4A4FFu) << "its own border colour, shaded";
    EXPECT_EQ(Style(coloured)->GetWord(102), 0x0000D8u);
}

TEST_F(StyleMapTest, AlignmentReadsLeftAndRight) {
    struct Row {
        const char* value;
        std::uint32_t keyword;
    };
    for (const Row& row : {Row{"left", 120}, Row{"RIGHT", 202}, Row{"center", 164}, Row{"justify", 164}}) {
        AttrElement* division = With(E(80), 5, row.value);
        body_->AppendChild(division);
        EXPECT_EQ(Style(division)->GetKeyword(53), row.keyword) << row.value;
    }
}

// The fixed back end's numbers for the form controls' font (13 pixels: the
// second font-size step) and the frame (border 2 and edge 2, twice).
class ControlSizes : public StyleMapTest {
  protected:
    AttrElement* Control(std::uint32_t kind, std::initializer_list<std::pair<std::uint32_t, const char*>> attributes,
                         std::initializer_list<Node*> children = {}) {
        AttrElement* node = E(kind, children);
        for (const auto& [id, value] : attributes) With(node, id, value);
        body_->AppendChild(node);
        return node;
    }
};

TEST_F(ControlSizes, CheckBoxesAndTextFields) {
    EXPECT_EQ(Size(Control(73, {{170, "checkbox"}, {154, "40"}, {183, "90"}})), "13/1 x 13/1");
    EXPECT_EQ(Size(Control(73, {{170, "radio"}})), "13/1 x 13/1");
    const std::string field = Size(Control(73, {}));
    EXPECT_EQ(field, "130/1 x 21/1") << "20 average widths of 6, the frame of 8, and 2";
    EXPECT_EQ(Size(Control(73, {{170, "text"}, {154, "0"}})), field);
    EXPECT_EQ(Size(Control(73, {{170, "password"}, {154, "5"}})), "40/1 x 21/1");
    EXPECT_EQ(Size(Control(73, {{154, "999999999"}})), "2147483647/1 x 21/1") << "saturates, never overflows";
    EXPECT_EQ(Size(Control(143, {{154, "999999999,999999999"}})), "2147483647/1 x 2147483647/1");
}

TEST_F(ControlSizes, TextAreasTakeTheirSizeAttribute) {
    // Width: scroll bar 16 + 6 per column + frame 8; height: 16 + 13 per row + 8.
    EXPECT_EQ(Size(Control(143, {{39, "10"}, {143, "2"}, {154, "40,5"}})), "264/1 x 89/1");
    EXPECT_EQ(Size(Control(143, {{39, "10"}, {143, "2"}, {154, "40"}})), "264/1 x 50/1");
    EXPECT_EQ(Size(Control(143, {{39, "10"}, {143, "2"}, {154, ",5"}})), "24/1 x 50/1");
    EXPECT_EQ(Size(Control(143, {{39, "10"}, {143, "2"}})), "84/1 x 50/1");
}

TEST_F(ControlSizes, ButtonsImagesAndRules) {
    AttrElement* reset = Control(73, {{170, "reset"}});
    markup::String label;
    EXPECT_EQ(Str(Style(reset)->GetSecondString(label)), "Submit Query");
    // 12 bytes of 6 pixels, the frame, and half the label again.
    EXPECT_EQ(Size(reset), "116/1 x 21/1");
    AttrElement* named = Control(73, {{170, "submit"}, {176, "Go"}});
    EXPECT_EQ(Str(Style(named)->GetSecondString(label)), "Go");
    EXPECT_EQ(Size(Control(72, {{183, "50%"}, {78, "20"}})), "50/2 x 20/1");
    EXPECT_EQ(Size(Control(72, {})), "0/0 x 0/0");
    EXPECT_EQ(Size(Control(67, {})), "0/0 x 2/1");
    EXPECT_EQ(Size(Control(85, {})), "0/1 x 5/1");
}

TEST_F(ControlSizes, SelectListsMeasureTheirOptions) {
    AttrElement* select = Control(122, {{154, "3"}}, {E(106, {T(160, "one")}), E(106, {T(160, "longer")}), E(106)});
    EXPECT_EQ(Style(select)->GetControlKind(), 18u);
    const std::string size = Size(select);
    EXPECT_EQ(size, "60/1 x 47/1") << "scroll bar 16 + widest option + frame; 3 rows of 13 + frame";
}

}  // namespace

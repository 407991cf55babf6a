// Selectors against a small tree: which elements each selects, as CSS
// defines its simple selectors, combinators and pseudo-classes.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "markup/small_blocks.h"
#include "markup/style/css_selector_match.h"
#include "markup/style/css_style_sheet.h"
#include "style_fixtures.h"

namespace {

using namespace markup::style;

struct Element {
    std::string name;
    std::map<std::string, std::string> attributes;
    int parent = -1;
    int previous = -1;
};

// <svg id=s>
//   <g id=g class="labels">
//     <text id=t1 class="big"/> <rect id=r1 class="dot" lang="en-US" href="a.svg"/>
//     <rect id=r2 class="big dot" lang="en"/>
//   </g>
//   <g id=h><circle id=c/><text id=t2 class="Big"/></g>
// </svg>
class Tree : public SelectorElements {
  public:
    Tree() {
        Add("svg", {{"id", "s"}}, -1);
        Add("g", {{"id", "g"}, {"class", "labels"}}, 0);
        Add("text", {{"id", "t1"}, {"class", "big"}}, 1);
        Add("rect", {{"id", "r1"}, {"class", "dot"}, {"lang", "en-US"}, {"href", "a.svg"}}, 1);
        Add("rect", {{"id", "r2"}, {"class", " big\tdot "}, {"lang", "en"}}, 1);
        Add("g", {{"id", "h"}}, 0);
        Add("circle", {{"id", "c"}}, 5);
        Add("text", {{"id", "t2"}, {"class", "Big"}}, 5);
    }
    Handle Parent(Handle h) const override { return At(elements_[Index(h)].parent); }
    Handle PreviousSibling(Handle h) const override { return At(elements_[Index(h)].previous); }
    std::string_view Name(Handle h) const override { return elements_[Index(h)].name; }
    bool Attribute(Handle h, std::string_view name, std::string& value) const override {
        const auto& attributes = elements_[Index(h)].attributes;
        const auto hit = attributes.find(std::string(name));
        if (hit == attributes.end()) return false;
        value = hit->second;
        return true;
    }

    std::size_t Count() const { return elements_.size(); }
    Handle At(std::size_t i) const { return &elements_[i]; }

    std::string Selected(const char* text) const {
        ParsedSelector selector;
        if (!ParseSelector(text, selector)) return "invalid";
        std::string out;
        for (std::size_t i = 0; i < elements_.size(); ++i) {
            if (!MatchesSelector(selector, *this, &elements_[i])) continue;
            if (!out.empty()) out += ' ';
            out += elements_[i].attributes.at("id");
        }
        return out;
    }

  private:
    void Add(const char* name, std::map<std::string, std::string> attributes, int parent) {
        int previous = -1;
        for (int i = static_cast<int>(elements_.size()) - 1; i >= 0; --i) {
            if (elements_[i].parent == parent) {
                previous = i;
                break;
            }
        }
        elements_.push_back({name, std::move(attributes), parent, previous});
    }
    Handle At(int i) const { return i < 0 ? nullptr : &elements_[static_cast<std::size_t>(i)]; }
    std::size_t Index(Handle h) const { return static_cast<const Element*>(h) - elements_.data(); }

    std::vector<Element> elements_;
};

struct Case {
    const char* selector;
    const char* selected;
};

class Selecting : public ::testing::TestWithParam<Case> {};

TEST_P(Selecting, TheElementsOfTheTree) {
    static const Tree tree;
    EXPECT_EQ(tree.Selected(GetParam().selector), GetParam().selected) << GetParam().selector;
}

const Case kCases[] = {
        // Simple selectors.
        Case{"rect", "r1 r2"}, Case{"RECT", "r1 r2"}, Case{"nosuchelement", ""}, Case{"*", "s g t1 r1 r2 h c t2"},
        Case{".big", "t1 r2"}, Case{".big.dot", "r2"}, Case{".dot.big", "r2"}, Case{".Big", "t2"},
        Case{"rect.big.dot#r2", "r2"}, Case{"#r1", "r1"}, Case{"#R1", ""}, Case{"text#r1", ""},
        Case{"*.labels", "g"},
        // Attributes.
        Case{"[lang]", "r1 r2"}, Case{"[lang=en]", "r2"}, Case{"[lang='en-US']", "r1"},
        Case{"[lang|=en]", "r1 r2"}, Case{"[class~=dot]", "r1 r2"}, Case{"[class~=do]", ""},
        Case{"[href^=a]", "r1"}, Case{"[href$=\".svg\"]", "r1"}, Case{"[href*=\".\"]", "r1"},
        Case{"[href^='']", ""},
        // Combinators.
        Case{"g rect", "r1 r2"}, Case{"svg rect", "r1 r2"}, Case{"svg > rect", ""}, Case{"g > rect", "r1 r2"},
        Case{"g.labels text", "t1"}, Case{"svg g text", "t1 t2"}, Case{"text + rect", "r1"},
        Case{"text ~ rect", "r1 r2"}, Case{"circle + text", "t2"}, Case{"rect + text", ""},
        Case{"g + g > :first-child", "c"}, Case{"svg>g+g text", "t2"}, Case{"svg g g", ""},
        Case{"* > *", "g t1 r1 r2 h c t2"},
        // Pseudo-classes: two evaluated, the rest never match.
        Case{":first-child", "s g t1 c"}, Case{"rect:first-child", ""}, Case{":root", "s"},
        Case{"svg:root > g", "g h"}, Case{"rect:hover", ""}, Case{"a:link", ""}, Case{"text::before", ""},
        Case{":not(rect)", ""}, Case{"text:first-line", ""},
        // Not selectors at all.
        Case{"", "invalid"}, Case{"rect..a", "invalid"}, Case{"g >", "invalid"}, Case{"> g", "invalid"},
        Case{"[lang", "invalid"}, Case{"[lang=]", "invalid"}, Case{"#", "invalid"}, Case{"rect&", "invalid"},
        // Selectors the sheet files under a key an ancestor needs.
        Case{"#g rect", "r1 r2"}, Case{"#s > #g > .dot", "r1 r2"}, Case{".labels :first-child", "t1"},
        Case{"svg .labels > rect.big", "r2"}, Case{"#h text", "t2"}, Case{"g.labels + g text", "t2"},
        Case{"#g + g > *", "c t2"}, Case{"#h ~ g circle", ""}, Case{".labels.dot rect", ""}};

INSTANTIATE_TEST_SUITE_P(Table, Selecting, ::testing::ValuesIn(kCases));

// A sheet of every valid selector above, asked element by element through
// its index (keys, ancestor keys, filters), selects what the matcher
// selects, each rule once.
TEST(Selecting, TheSheetsIndexAgreesWithTheMatcher) {
    const Tree tree;
    CSSStyleSheet sheet(style_test::Css());
    std::string css;
    for (const Case& c : kCases) {
        if (std::string(c.selected) != "invalid") css += std::string(c.selector) + " { fill: red }\n";
    }
    sheet.AddText(style_test::Text(css), 0);
    for (std::size_t e = 0; e < tree.Count(); ++e) {
        std::string expected, collected;
        for (std::uint32_t r = 0; r < sheet.Rules().Count(); ++r) {
            const CSSCompoundSelector& rule = *sheet.Rules().At(r);
            for (std::uint32_t g = 0; g < rule.SelectorCount(); ++g) {
                if (MatchesSelector(*rule.SelectorAt(g)->Parsed(), tree, tree.At(e))) {
                    expected += style_test::Str(rule.SelectorAt(g)->Text()) + "; ";
                }
            }
        }
        markup::Vector<CSSDeclaration> out;
        sheet.CollectMatching(tree, tree.At(e), out);
        // Back into sheet order: the cascade's order puts specificity first.
        std::vector<std::pair<const CSSCompoundSelector*, std::uint32_t>> found;
        for (std::uint32_t i = 0; i < out.Count(); ++i) {
            const CSSContextualSelector* selector = out.At(i)->Selector();
            std::uint32_t r = 0;
            while (sheet.Rules().At(r) != selector->Rule()) ++r;
            std::uint32_t g = 0;
            while (selector->Rule()->SelectorAt(g)->Parsed() != selector->Parsed()) ++g;
            found.emplace_back(selector->Rule(), r * 1000 + g);
        }
        std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
        for (const auto& [rule, at] : found) collected += style_test::Str(rule->SelectorAt(at % 1000)->Text()) + "; ";
        EXPECT_EQ(collected, expected) << "element " << e;
    }
}

// The values the cascade applies are those of CollectMatching's
// declarations, in their order, the values of one declaration under one
// mark: a rule two of whose selectors match gives its declarations twice,
// under the same marks, as its objects give the same properties twice.
// Collecting them makes none of the rules' objects.
TEST(Selecting, TheCascadesValuesAreTheDeclarationsValues) {
    const Tree tree;
    CSSStyleSheet sheet(style_test::Css());
    sheet.AddText(
        style_test::Text("rect { fill: red; stroke-dasharray: 1 2 3 }\n"
                         ".big, .dot { stroke-dasharray: 4 5 !important; stroke: none }\n"
                         "#r1 { font-family: 'A b', serif; fill: url(#p) } g > * { opacity: inherit }"),
        0);
    const std::size_t blocks = markup::SmallBlocksInUse();
    std::vector<std::vector<CSSAppliedDeclaration>> values(tree.Count());
    for (std::size_t e = 0; e < tree.Count(); ++e) sheet.CollectMatchingValues(tree, tree.At(e), values[e]);
    EXPECT_EQ(markup::SmallBlocksInUse(), blocks);
    EXPECT_EQ(values[4].size(), 1u + 3 + 2 * 3 + 1);  // r2: both selectors of ".big, .dot"
    for (std::size_t e = 0; e < tree.Count(); ++e) {
        markup::Vector<CSSDeclaration> out;
        sheet.CollectMatching(tree, tree.At(e), out);
        ASSERT_EQ(values[e].size(), out.Count()) << "element " << e;
        for (std::uint32_t i = 0; i < out.Count(); ++i) {
            const CSSValue& expected = *out.At(i)->Value();
            const CSSAppliedValue& value = *values[e][i].value;
            EXPECT_EQ(value.propertyId, expected.Attribute()->PropertyId());
            EXPECT_EQ(value.Text(), style_test::Str(expected.Attribute()->Text()));
            EXPECT_EQ(value.Important(), expected.Important());
            if (i == 0) continue;
            EXPECT_EQ(values[e][i].declaration == values[e][i - 1].declaration,
                      out.At(i)->Property() == out.At(i - 1)->Property())
                << "element " << e << ", value " << i;
        }
    }
}

// Ancestors that share a class or an id find the rule filed under it once.
TEST(Selecting, NestedAncestorsWithOneKeyGiveTheRuleOnce) {
    class Nest : public SelectorElements {
      public:
        // 1 to 3: g class="a" id="n", each inside the one before; 4: rect.
        Handle Parent(Handle h) const override {
            const auto depth = reinterpret_cast<std::uintptr_t>(h);
            return depth > 1 ? reinterpret_cast<Handle>(depth - 1) : nullptr;
        }
        Handle PreviousSibling(Handle) const override { return nullptr; }
        std::string_view Name(Handle h) const override { return reinterpret_cast<std::uintptr_t>(h) == 4 ? "rect" : "g"; }
        bool Attribute(Handle h, std::string_view name, std::string& value) const override {
            if (reinterpret_cast<std::uintptr_t>(h) == 4) return false;
            value = name == "class" ? "a" : "n";
            return name == "class" || name == "id";
        }
    } nest;
    CSSStyleSheet sheet(style_test::Css());
    sheet.AddText(style_test::Text(".a rect { fill: red } #n rect { stroke: blue } .a .a .a rect { opacity: 0.5 }"), 0);
    markup::Vector<CSSDeclaration> out;
    sheet.CollectMatching(nest, reinterpret_cast<SelectorElements::Handle>(std::uintptr_t{4}), out);
    std::string texts;
    for (std::uint32_t i = 0; i < out.Count(); ++i) texts += style_test::Str(out.At(i)->Selector()->Text()) + "; ";
    EXPECT_EQ(texts, ".a rect; .a .a .a rect; #n rect; ");
}

// A long descendant chain that fails everywhere gives up after one pass
// over the ancestors instead of trying each combination of them.
TEST(Selecting, ADescendantChainThatCannotMatchEndsQuickly) {
    class Chain : public SelectorElements {
      public:
        Handle Parent(Handle h) const override {
            const auto depth = reinterpret_cast<std::uintptr_t>(h);
            return depth > 1 ? reinterpret_cast<Handle>(depth - 1) : nullptr;
        }
        Handle PreviousSibling(Handle) const override { return nullptr; }
        std::string_view Name(Handle) const override { return "g"; }
        bool Attribute(Handle, std::string_view, std::string&) const override { return false; }
    } chain;
    std::string text = "x";
    for (int i = 0; i < 40; ++i) text += " g";
    ParsedSelector selector;
    ASSERT_TRUE(ParseSelector(text, selector));
    EXPECT_FALSE(MatchesSelector(selector, chain, reinterpret_cast<SelectorElements::Handle>(std::uintptr_t{2000})));
}

TEST(Selecting, GroupsSplitAtTopLevelCommasOnly) {
    std::vector<ParsedSelector> group;
    ASSERT_TRUE(ParseSelectorGroup("a, [title='x, y'] ,b:not(c, d)", group));
    ASSERT_EQ(group.size(), 3u);
    EXPECT_EQ(group[1].text, "[title=\"x, y\"]");
    EXPECT_FALSE(ParseSelectorGroup("a, , b", group));
    EXPECT_TRUE(group.empty());
    EXPECT_FALSE(ParseSelectorGroup("a, b..c", group));
}

TEST(Selecting, TheIndexKeyIsTheLastStepsIdThenClassThenType) {
    struct Key {
        const char* selector;
        SelectorKeyKind kind;
        const char* key;
    };
    for (const Key& k : {Key{"g rect.a#b", SelectorKeyKind::kId, "b"}, Key{"#x Rect.a", SelectorKeyKind::kClass, "a"},
                         Key{".x > RECT", SelectorKeyKind::kType, "rect"},
                         Key{"rect [a]", SelectorKeyKind::kUniversal, ""},
                         Key{"[class~=b]", SelectorKeyKind::kClass, "b"}, Key{"[id=r]", SelectorKeyKind::kId, "r"},
                         Key{"[class~='a b']", SelectorKeyKind::kUniversal, ""}}) {
        ParsedSelector selector;
        ASSERT_TRUE(ParseSelector(k.selector, selector));
        EXPECT_EQ(selector.keyKind, k.kind) << k.selector;
        EXPECT_EQ(selector.key, k.key) << k.selector;
    }
}

}  // namespace

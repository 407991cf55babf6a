// DOM strings and handles: the copies a string holds, and how long a facade
// lives under the handles that share it.
#include "markup/parser/dom/dom_handle.h"

#include <gtest/gtest.h>

#include <clocale>
#include <functional>
#include <vector>

#include "dom_fixtures.h"
#include "markup/parser/dom/dom_character_data.h"

namespace markup {
namespace {

using markup_test::DomTest;
using markup_test::S;

struct StringCase {
    const char* name;
    const char* text;  // null: the default string
    std::uint32_t length;
};

class DOMStringTest : public testing::TestWithParam<StringCase> {};

TEST_P(DOMStringTest, HoldsBothCopiesOrNeitherAndCopiesWhatItHolds) {
    const StringCase& c = GetParam();
    const IDOMString made = c.text ? IDOMString(c.text) : IDOMString();
    EXPECT_EQ(made.Length(), c.length);
    const IDOMString copied(made);
    for (const IDOMString* s : {&made, &copied}) {
        if (!c.text) {
            EXPECT_EQ(s->Narrow(), nullptr);
            EXPECT_EQ(s->Wide(), nullptr);
            continue;
        }
        ASSERT_NE(s->Narrow(), nullptr);
        ASSERT_NE(s->Wide(), nullptr);
        EXPECT_EQ(S(*s), c.text);
        EXPECT_EQ(s->Narrow()[c.length], 0);
        EXPECT_EQ(s->Wide()[c.length], 0);
        // Each byte widens to its ISO-8859-1 character.
        for (std::uint32_t i = 0; i < c.length; ++i) {
            EXPECT_EQ(s->Wide()[i], static_cast<wchar_t>(static_cast<unsigned char>(c.text[i])));
        }
    }
    EXPECT_TRUE(!c.text || copied.Narrow() != made.Narrow());
    IDOMString copy("other");
    copy = made;
    IDOMString& same = copy;
    copy = same;
    EXPECT_EQ(S(copy), S(made));
    EXPECT_EQ(copy.Narrow() == nullptr, c.text == nullptr);
}

INSTANTIATE_TEST_SUITE_P(Texts, DOMStringTest,
                         testing::Values(StringCase{"Default", nullptr, 0}, StringCase{"Empty", "", 0},
                                         StringCase{"Plain", "abc", 3},
                                         StringCase{"Latin1", "\xE9t\xE9 \xFF", 5}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DOMString, WideCopyIgnoresTheLocale) {
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    std::setlocale(LC_ALL, "C.UTF-8");  // UTF-8 would refuse a lone 0xE9
    const IDOMString text("\xE9");
    std::setlocale(LC_ALL, saved.c_str());
    ASSERT_NE(text.Wide(), nullptr);
    EXPECT_EQ(text.Wide()[0], L'\xE9');
}

// A text facade that counts its deletions.
class ProbeText : public WDOMText_WepImp {
  public:
    ProbeText(DocTree* tree, int& deleted) : WDOMText_WepImp(tree, nullptr, IDOMString("probe")), deleted_(deleted) {}
    ~ProbeText() override { ++deleted_; }

  private:
    int& deleted_;
};

struct LifetimeCase {
    const char* name;
    // The handles still held at the end; the others are gone.
    std::function<std::vector<WDOMHandle>(WDOMNode*)> hold;
    std::uint32_t count;
};

class HandleLifetimeTest : public testing::TestWithParam<LifetimeCase> {};

TEST_P(HandleLifetimeTest, TheLastHandleDeletesTheFacadeOnce) {
    DocTree tree(nullptr, nullptr);
    int deleted = 0;
    auto* probe = new ProbeText(&tree, deleted);
    {
        std::vector<WDOMHandle> held = GetParam().hold(probe);
        EXPECT_EQ(deleted, 0);
        EXPECT_EQ(probe->GetRefCount(), GetParam().count);
    }
    EXPECT_EQ(deleted, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Handles, HandleLifetimeTest,
    testing::Values(
        LifetimeCase{"One", [](WDOMNode* n) { return std::vector{WDOMHandle(n)}; }, 1},
        LifetimeCase{"ThreeCopies",
                     [](WDOMNode* n) {
                         WDOMHandle a(n);
                         WDOMHandle b(a);
                         WDOMHandle c;
                         c = b;
                         return std::vector{a, b, c};
                     },
                     3},
        LifetimeCase{"ThreeCopiesOneDropped",
                     [](WDOMNode* n) {
                         WDOMHandle a(n);
                         WDOMHandle b(a);
                         WDOMHandle c(b);
                         b = WDOMHandle();
                         return std::vector{a, c};
                     },
                     2},
        LifetimeCase{"SelfAssignment",
                     [](WDOMNode* n) {
                         WDOMHandle a(n);
                         WDOMHandle& same = a;
                         a = same;
                         a.Attach(same);
                         return std::vector{a};
                     },
                     1},
        LifetimeCase{"Moved",
                     [](WDOMNode* n) {
                         WDOMHandle a(n);
                         WDOMHandle b(std::move(a));
                         EXPECT_TRUE(a.IsNull());  // NOLINT: the moved-from handle is null
                         return std::vector{b};
                     },
                     1},
        LifetimeCase{"Attached",
                     [](WDOMNode* n) {
                         WDOMHandle a(n);
                         WDOMHandle b;
                         b.Attach(a);
                         return std::vector{a, b};
                     },
                     2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Handles, NullHandlesTouchNothingAndAnswerEmpty) {
    WDOMHandle null(nullptr);
    WDOMHandle copy(null);
    copy = null;
    EXPECT_TRUE(null.IsNull());
    EXPECT_TRUE(copy.IsNull());
    EXPECT_EQ(null.GetNodeType(), 0);
    EXPECT_EQ(null.GetNodeName().Narrow(), nullptr);
    EXPECT_TRUE(null.GetFirstChild().IsNull());
    EXPECT_TRUE(null.GetNextSibling().IsNull());
    EXPECT_TRUE(null.GetAttributes().IsNull());
    EXPECT_EQ(null.GetData().Length(), 0u);

    WDOMNamedNodeMapHandle noMap(nullptr);
    EXPECT_EQ(noMap.GetLength(), 0u);
    EXPECT_TRUE(noMap.Item(0).IsNull());
    WDOMNodeListHandle noList(nullptr);
    EXPECT_EQ(noList.GetLength(), 0u);
    EXPECT_TRUE(noList.Item(0).IsNull());
}

using HandleForwarders = DomTest;

// A text node has no children, no siblings past the run, no map; data is
// answered for character data only.
TEST_F(HandleForwarders, AnswerForTheNodeKind) {
    using markup_test::A;
    using markup_test::E;
    using markup_test::T;
    WDOMHandle document = Adopt(E(kKindDocument, {A(markup_test::kRect, {{markup_test::kX, "1"}}, {T(kKindText, "hi")})}));
    WDOMHandle rect = document.GetFirstChild();
    EXPECT_EQ(rect.GetNodeType(), kDOMElementNode);
    EXPECT_EQ(S(rect.GetData()), "");  // not character data
    EXPECT_EQ(rect.GetAttributes().GetLength(), 1u);

    WDOMHandle text = rect.GetFirstChild();
    EXPECT_EQ(text.GetNodeType(), kDOMTextNode);
    EXPECT_EQ(S(text.GetData()), "hi");
    EXPECT_EQ(S(text.GetNodeValue()), "hi");
    EXPECT_TRUE(text.GetFirstChild().IsNull());
    EXPECT_TRUE(text.GetNextSibling().IsNull());
    WDOMNamedNodeMapHandle none = text.GetAttributes();
    EXPECT_TRUE(none.IsNull());
    EXPECT_EQ(none.GetLength(), 0u);
}

}  // namespace
}  // namespace markup

// ElementContentValidator::CheckCompleted: whether a closed element's
// content is complete, which child has no place and what is missing.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "html_dictionary.h"
#include "markup/parser/content_validator.h"
#include "tree_fixtures.h"

namespace {

using markup::ElementContentValidator;
using markup::Node;
using markup_test::E;
using markup_test::Owned;
using markup_test::T;
using namespace markup_test;
using namespace markup_test::html_like;

constexpr std::uint32_t kDocument = 173;
constexpr std::uint32_t kComment = 165;
constexpr std::uint32_t kText = 160;
constexpr std::uint32_t kEntity = 167;

// "ok", or "repair at N" / "repair at end", then " lacks T" when it asks
// for an element.
std::string Completed(const markup::Dictionary& d, const Node& element) {
    std::uint32_t position = 0;
    std::uint32_t missing = 0;
    const std::uint32_t flags = ElementContentValidator::CheckCompleted(d, element, position, missing);
    if (flags == 0) return "ok";
    std::string out;
    if (flags & markup::kContentNeedsRepair) {
        out = position == markup::kNoPosition ? "repair at end" : "repair at " + std::to_string(position);
    }
    if (flags & markup::kContentLacksElement) out += (out.empty() ? "" : " ") + ("lacks " + std::to_string(missing));
    return out;
}

struct CompletionCase {
    const char* what;
    // The checked element, inside body > p when `nested` is set (so the
    // exceptions of body and p apply).
    std::function<Node*()> element;
    bool nested;
    const char* answer;
};

void PrintTo(const CompletionCase& c, std::ostream* out) {
    *out << c.what;
}

class CheckCompletedTest : public ::testing::TestWithParam<CompletionCase> {};

TEST_P(CheckCompletedTest, Answers) {
    const auto d = BuildHtmlLikeDictionary();
    Node* element = GetParam().element();
    Owned<Node> top(GetParam().nested ? E(kBody, {E(kP, {element})}) : element);
    EXPECT_EQ(Completed(*d, *element), GetParam().answer) << GetParam().what;
}

Node* Text() {
    return T(kText, "x");
}

INSTANTIATE_TEST_SUITE_P(
    HtmlLike, CheckCompletedTest,
    ::testing::Values(
        // The document node: exactly one root, beside it only what is
        // allowed anywhere and the document-level element.
        CompletionCase{"rooted", [] { return E(kDocument, {T(kComment, "c"), E(kDocInfo), E(kHtml), E(kScript)}); },
                       false, "ok"},
        CompletionCase{"second root", [] { return E(kDocument, {E(kHtml), E(kHtml)}); }, false, "repair at 1"},
        CompletionCase{"no root", [] { return E(kDocument, {T(kComment, "c"), E(kP)}); }, false,
                       "repair at 1 lacks 68"},
        CompletionCase{"empty document", [] { return E(kDocument); }, false, "lacks 68"},
        // Sequences, all-groups and required elements.
        CompletionCase{"html", [] { return E(kHtml, {E(kBody)}); }, false, "ok"},
        CompletionCase{"html without body", [] { return E(kHtml, {E(kHead)}); }, false, "repair at end lacks 25"},
        CompletionCase{"head after body", [] { return E(kHtml, {E(kBody), E(kHead)}); }, false, "repair at 1"},
        CompletionCase{"head lacking title", [] { return E(kHead, {E(kBase)}); }, false, "repair at end lacks 31"},
        CompletionCase{"head in any order", [] { return E(kHead, {E(kBase), E(kTitle)}); }, false, "ok"},
        CompletionCase{"rows without tbody", [] { return E(kTable, {E(kTr)}); }, false, "repair at 0 lacks 140"},
        CompletionCase{"empty list", [] { return E(kUl); }, false, "repair at end lacks 13"},
        CompletionCase{"text in a list", [] { return E(kUl, {E(kLi), T(kEntity, "&amp;")}); }, false, "repair at 1"},
        // Mixed content; what is not content, or allowed anywhere, passes.
        CompletionCase{"block in p", [] { return E(kP, {Text(), E(kB), E(kUl)}); }, false, "repair at 2"},
        CompletionCase{"p", [] { return E(kP, {Text(), E(kScript), T(kComment, "c"), T(172, "/x"), E(kB)}); }, false,
                       "ok"},
        // EMPTY takes nothing but may end empty.
        CompletionCase{"br", [] { return E(kBr); }, false, "ok"},
        CompletionCase{"br with text", [] { return E(kBr, {Text()}); }, false, "repair at 0"},
        // Exceptions of the ancestors.
        CompletionCase{"a in a", [] { return E(kA, {Text(), E(kA)}); }, true, "repair at 1"},
        CompletionCase{"ins below body", [] { return E(kSpan, {E(kIns), Text()}); }, true, "ok"},
        CompletionCase{"no definition", [] { return E(99, {Text()}); }, false, "ok"}));

TEST(CheckCompletedTest, ElementsWithoutModelsTakeTheirAllowedChildren) {
    HtmlDictionaryBuilder builder = HtmlLikeBuilder();
    builder.Element(50, "menu", "").ExtraChildren({kLi});
    const auto d = builder.Build();
    Owned<Node> menu(E(50, {E(kLi), E(kScript), E(kLi)}));
    EXPECT_EQ(Completed(*d, *menu), "ok");
    menu->AppendChild(E(kP));
    EXPECT_EQ(Completed(*d, *menu), "repair at 3");
}

TEST(CheckCompletedTest, ExtraChildrenStandBesideTheModel) {
    HtmlDictionaryBuilder builder = HtmlLikeBuilder();
    builder.Element(kUl, "ul", "(li)+").ExtraChildren({kDiv});
    const auto d = builder.Build();
    Owned<Node> ul(E(kUl, {E(kDiv), E(kLi), E(kDiv)}));
    EXPECT_EQ(Completed(*d, *ul), "ok");
}

TEST(CheckCompletedTest, CaseSensitiveAndOpenDictionariesFindNothing) {
    auto d = BuildHtmlLikeDictionary();
    Owned<Node> doc(E(kDocument, {E(kHtml), E(kHtml), E(kUl)}));
    d->SetCaseSensitive(true);
    EXPECT_EQ(Completed(*d, *doc), "ok");
    EXPECT_EQ(Completed(*d, *doc->LastChild()), "ok");
    d->SetCaseSensitive(false);
    d->SetOpen(true);
    EXPECT_EQ(Completed(*d, *doc->LastChild()), "ok");
}

}  // namespace

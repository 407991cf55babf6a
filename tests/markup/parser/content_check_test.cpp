// ElementContentValidator::Check and Accepts: where a node may stand, and
// which elements the implied-element search puts around it.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "html_dictionary.h"
#include "markup/parser/content_validator.h"
#include "tree_fixtures.h"

namespace {

using markup::ElementContentValidator;
using markup::IdList;
using markup::Node;
using markup::TreeBuildState;
using markup_test::E;
using markup_test::Owned;
using markup_test::T;
using namespace markup_test;
using namespace markup_test::html_like;

constexpr std::uint32_t kDocument = 173;
constexpr std::uint32_t kComment = 165;
constexpr std::uint32_t kText = 160;
constexpr std::uint32_t kEntity = 167;
constexpr std::uint32_t kWrapper = 159;

std::string Ids(const IdList& ids) {
    std::string out;
    for (std::uint32_t id : ids) out += (out.empty() ? "" : " ") + std::to_string(id);
    return out;
}

// What Check answered: "accept", "accept <action>: <ids> (budget n)",
// "close the open element" or "reject".
struct Answer {
    bool accepted = false;
    std::int32_t action = 0;
    std::uint32_t budget = 0;
    IdList ids;

    std::string Text() const {
        if (!accepted) return "reject";
        if (action == 0) return "accept";
        if (action == markup::kCloseOpenElement) return "close the open element";
        return "accept " + std::to_string(action) + ": " + Ids(ids) + " (budget " + std::to_string(budget) + ")";
    }
};

Answer CheckIn(const markup::Dictionary& d, std::uint32_t id, const Node* open,
               std::int32_t action = markup::kImpliedLevels, std::uint32_t budget = markup::kFirstAttemptBudget,
               TreeBuildState* state = nullptr) {
    Answer answer;
    answer.action = action;
    answer.budget = budget;
    answer.accepted = ElementContentValidator::Check(d, answer.ids, answer.action, answer.budget, id, open, state);
    return answer;
}

class HtmlLikeCheck : public ::testing::Test {
  protected:
    std::unique_ptr<markup::Dictionary> d_ = BuildHtmlLikeDictionary();
};

TEST_F(HtmlLikeCheck, TextAtTheStartImpliesTheRootAndItsChain) {
    Owned<Node> doc(E(kDocument));
    // p costs a start tag; html and body do not.
    EXPECT_EQ(CheckIn(*d_, kText, doc.get()).Text(), "accept 3: 10 25 68 (budget 1)");
    // An entity reference is text too, and a document type declaration
    // before it keeps nothing from being implied.
    doc->AppendChild(T(kComment, "<!DOCTYPE html>"));
    EXPECT_EQ(CheckIn(*d_, kEntity, doc.get()).Text(), "accept 3: 10 25 68 (budget 1)");
    // The chain needs three levels and one start tag.
    EXPECT_EQ(CheckIn(*d_, kText, doc.get(), 2).Text(), "reject");
    EXPECT_EQ(CheckIn(*d_, kText, doc.get(), 3, 0).Text(), "reject");
    EXPECT_EQ(CheckIn(*d_, kText, doc.get(), 0).Text(), "reject");
    // An element that body takes needs only html and body.
    EXPECT_EQ(CheckIn(*d_, kDiv, doc.get()).Text(), "accept 2: 25 68 (budget 0)");
    EXPECT_EQ(CheckIn(*d_, kTitle, doc.get()).Text(), "accept 2: 30 68 (budget 0)");
}

TEST_F(HtmlLikeCheck, TheDocumentNodeTakesOneRoot) {
    Owned<Node> doc(E(kDocument));
    EXPECT_EQ(CheckIn(*d_, kHtml, doc.get()).Text(), "accept");
    EXPECT_EQ(CheckIn(*d_, kDocInfo, doc.get()).Text(), "accept");
    EXPECT_EQ(CheckIn(*d_, kComment, doc.get()).Text(), "accept");
    doc->AppendChild(E(kHtml));
    EXPECT_EQ(CheckIn(*d_, kText, doc.get()).Text(), "reject");
    EXPECT_TRUE(ElementContentValidator::Accepts(*d_, kHtml, doc.get()));
    EXPECT_FALSE(ElementContentValidator::Accepts(*d_, kP, doc.get()));
}

struct PlacementCase {
    const char* where;  // the open element, named by a small tree below
    std::uint32_t id;
    const char* answer;
};

void PrintTo(const PlacementCase& c, std::ostream* out) {
    *out << c.id << " in " << c.where;
}

// body > [p > a > span], table, ul > li, td > wrapper.
class Placement : public ::testing::TestWithParam<PlacementCase> {
  protected:
    void SetUp() override {
        HtmlDictionaryBuilder builder = HtmlLikeBuilder();
        builder.Element(kWrapper, "wrapper", "EMPTY");
        d_ = builder.Build();
        span_ = E(kSpan);
        anchor_ = E(kA, {span_});
        p_ = E(kP, {T(kText, "x"), anchor_});
        table_ = E(kTable);
        li_ = E(kLi);
        ul_ = E(kUl, {li_});
        wrapper_ = E(kWrapper);
        td_ = E(kTd, {wrapper_});
        body_ = E(kBody, {p_, table_, ul_, E(kTable, {E(kTbody, {E(kTr, {td_})})})});
        doc_.reset(E(kDocument, {E(kHtml, {body_})}));
    }

    Node* Open(const std::string& where) const {
        if (where == "body") return body_;
        if (where == "p") return p_;
        if (where == "a") return anchor_;
        if (where == "span") return span_;
        if (where == "table") return table_;
        if (where == "ul") return ul_;
        if (where == "li") return li_;
        if (where == "wrapper") return wrapper_;
        return td_;
    }

    std::unique_ptr<markup::Dictionary> d_;
    Owned<Node> doc_;
    Node *body_, *p_, *anchor_, *span_, *table_, *ul_, *li_, *wrapper_, *td_;
};

TEST_P(Placement, AnswersWithTheTreeAndWithTheState) {
    const PlacementCase& c = GetParam();
    Node* open = Open(c.where);
    EXPECT_EQ(CheckIn(*d_, c.id, open).Text(), c.answer);

    // The builder's frames give the same exceptions as the tree.
    std::vector<const Node*> chain;
    for (const Node* n = open; n && markup::DocElement::TypeOf(n) != kDocument; n = n->Parent()) chain.push_back(n);
    TreeBuildState state;
    state.SetActive(true);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        ElementContentValidator::EnterElement(*d_, state, markup::DocElement::TypeOf(*it));
    }
    EXPECT_EQ(CheckIn(*d_, c.id, open, markup::kImpliedLevels, markup::kFirstAttemptBudget, &state).Text(),
              c.answer);
}

INSTANTIATE_TEST_SUITE_P(
    HtmlLike, Placement,
    ::testing::Values(
        PlacementCase{"p", kB, "accept"},
        PlacementCase{"p", kText, "accept"},
        PlacementCase{"p", kDiv, "reject"},
        // Implied table parts: tbody's start tag may be left out, tr's not.
        PlacementCase{"table", kTr, "accept 1: 140 (budget 0)"},
        PlacementCase{"table", kTd, "accept 2: 16 140 (budget 1)"},
        PlacementCase{"table", kText, "accept 3: 85 16 140 (budget 2)"},
        // li may not be implied.
        PlacementCase{"ul", kText, "reject"},
        PlacementCase{"ul", kLi, "accept"},
        // Allowed anywhere, and node kinds that are not content.
        PlacementCase{"ul", kScript, "accept"},
        PlacementCase{"ul", kComment, "accept"},
        PlacementCase{"table", 172, "accept"},
        // a excludes a, down to its descendants; the search does not route
        // around an exclusion.
        PlacementCase{"a", kA, "reject"},
        PlacementCase{"span", kA, "reject"},
        PlacementCase{"span", kB, "accept"},
        // body includes ins and del in all its descendants.
        PlacementCase{"p", kIns, "accept"},
        PlacementCase{"span", kDel, "accept"},
        PlacementCase{"ul", kIns, "accept"},
        // Text is never searched for below td (85); a wrapper closes for
        // what the element around it takes.
        PlacementCase{"td", kText, "accept"},
        PlacementCase{"wrapper", kP, "close the open element"},
        PlacementCase{"wrapper", kTr, "reject"}));

TEST_F(HtmlLikeCheck, TextBelowTheNoBreakSpaceElementIsNotSearched) {
    HtmlDictionaryBuilder builder = HtmlLikeBuilder();
    builder.Element(kTd, "td", "(p)*", markup_test::kImpliable);
    const auto d = builder.Build();
    Owned<Node> td(E(kTd));
    EXPECT_EQ(CheckIn(*d, kText, td.get()).Text(), "reject");
    EXPECT_EQ(CheckIn(*d, kB, td.get()).Text(), "accept 1: 10 (budget 1)");
}

TEST_F(HtmlLikeCheck, GroupAnywhereAndOpenDictionariesAcceptAtOnce) {
    Owned<Node> ul(E(kUl));
    TreeBuildState state;
    state.SetActive(true);
    EXPECT_EQ(CheckIn(*d_, kScript, ul.get(), 3, 2, &state).Text(), "accept");
    EXPECT_FALSE(state.Active());

    // The SVG road: case sensitive and open, every content check accepts.
    d_->SetCaseSensitive(true);
    d_->SetOpen(true);
    state.SetActive(true);
    EXPECT_EQ(CheckIn(*d_, 4242, ul.get(), 3, 2, &state).Text(), "accept");
    EXPECT_FALSE(state.Active());
    EXPECT_TRUE(ElementContentValidator::Accepts(*d_, kText, ul.get()));
    Node plain;
    d_->SetOpen(false);
    EXPECT_EQ(CheckIn(*d_, kP, &plain).Text(), "reject");
    EXPECT_EQ(CheckIn(*d_, kP, nullptr).Text(), "reject");
}

TEST_F(HtmlLikeCheck, AnUndefinedElementInXmlStandsInForItsAncestor) {
    constexpr std::uint32_t kStandIn = markup::kStandInElementId;
    auto* standIn = E(kStandIn);
    auto* inUl = E(kStandIn);
    Owned<Node> doc(E(kDocument, {E(kP, {standIn}), E(kUl, {inUl}), E(kStandIn)}));
    Node* top = doc->LastChild();
    EXPECT_EQ(CheckIn(*d_, kText, standIn).Text(), "reject");  // only in a case-sensitive dictionary
    d_->SetCaseSensitive(true);
    EXPECT_EQ(CheckIn(*d_, kText, standIn).Text(), "accept");
    EXPECT_EQ(CheckIn(*d_, kText, inUl).Text(), "reject");
    EXPECT_EQ(CheckIn(*d_, kText, top).Text(), "accept");
}

// Synthetic models where the search has a choice to make; z (or the child
// named) is the node being placed.
struct SearchCase {
    const char* name;
    std::int32_t action;
    std::uint32_t budget;
    const char* answer;
    std::uint32_t child = 0;  // a child the open element holds already; z is placed after it
};

void PrintTo(const SearchCase& c, std::ostream* out) {
    *out << c.name << ", " << c.action << " levels, budget " << c.budget;
}

class ImpliedSearch : public ::testing::TestWithParam<SearchCase> {
  public:
    static constexpr std::uint32_t kX = 1, kZ = 2, kN = 3, kO = 4, kQ = 5, kM = 6, kK = 7, kW = 8, kI = 9;
    static constexpr std::uint32_t kHigh = 161;

  protected:
    std::unique_ptr<markup::Dictionary> Build(const std::string& name) {
        HtmlDictionaryBuilder b;
        b.Element(kZ, "z", "EMPTY").Element(kW, "w", "(z)").Element(kHigh, "high", "(z)", kOmissible);
        b.Element(kI, "i", "(z)", kOmissible);
        if (name == "fewest start tags") {
            // n gives the chain n (one start tag), o the chain q o (none).
            b.Element(kX, "x", "(n | o)*").Element(kN, "n", "(z)", kImpliable);
            b.Element(kO, "o", "(q)", kOmissible).Element(kQ, "q", "(z)", kOmissible);
        } else if (name == "then the shortest") {
            b.Element(kX, "x", "(m | n)*").Element(kM, "m", "(o)", kImpliable);
            b.Element(kO, "o", "(z)", kOmissible).Element(kN, "n", "(z)", kImpliable);
        } else if (name == "start tags within budget") {
            b.Element(kX, "x", "(m)*").Element(kM, "m", "(n)", kImpliable).Element(kN, "n", "(z)", kImpliable);
        } else if (name == "levels") {
            b.Element(kX, "x", "(o)").Element(kO, "o", "(q)", kOmissible).Element(kQ, "q", "(m)", kOmissible);
            b.Element(kM, "m", "(z)", kOmissible);
        } else if (name == "only impliable elements") {
            b.Element(kX, "x", "(w | high)*");
        } else if (name == "the model must take the candidate") {
            b.Element(kX, "x", "(n, o)").Element(kN, "n", "EMPTY").Element(kO, "o", "(z)", kOmissible);
        } else if (name == "inclusions are candidates") {
            b.Element(kX, "x", "(w)*").Includes({kI});
        } else if (name == "an element of the open one's type starts empty") {
            b.Element(kX, "x", "(n, x?)", kOmissible).Element(kN, "n", "EMPTY");
        } else if (name == "excluded candidates are not") {
            b.Element(kX, "x", "(w | i)*").Excludes({kI});
        }
        return b.Build();
    }
};

TEST_P(ImpliedSearch, PicksTheChain) {
    const SearchCase& c = GetParam();
    const auto d = Build(c.name);
    Owned<Node> x(E(kX));
    std::uint32_t placed = kZ;
    if (c.child != 0) {
        x->AppendChild(E(c.child));
        placed = c.child;
    }
    EXPECT_EQ(CheckIn(*d, placed, x.get(), c.action, c.budget).Text(), c.answer) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Synthetic, ImpliedSearch,
                         ::testing::Values(SearchCase{"fewest start tags", 3, 2, "accept 2: 5 4 (budget 0)"},
                                           SearchCase{"then the shortest", 3, 2, "accept 1: 3 (budget 1)"},
                                           SearchCase{"start tags within budget", 3, 2, "accept 2: 3 6 (budget 2)"},
                                           SearchCase{"start tags within budget", 3, 1, "reject"},
                                           SearchCase{"levels", 3, 0, "accept 3: 6 5 4 (budget 0)"},
                                           SearchCase{"levels", 2, 2, "reject"},
                                           SearchCase{"only impliable elements", 3, 2, "reject"},
                                           SearchCase{"the model must take the candidate", 3, 2, "reject"},
                                           SearchCase{"inclusions are candidates", 3, 2, "accept 1: 9 (budget 0)"},
                                           SearchCase{"excluded candidates are not", 3, 2, "reject"},
                                           SearchCase{"an element of the open one's type starts empty", 3, 2,
                                                      "accept 1: 1 (budget 0)", ImpliedSearch::kN}));

}  // namespace

// The live content model: occurrences, the three connectives, Undo, copies
// and the probe, driven by short scripts over models written as in a DTD.
#include "markup/parser/element_content.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "html_dictionary.h"

namespace {

using markup::ContentSymbol;
using markup::Dictionary;
using markup::ElementContent;
using markup_test::HtmlDictionaryBuilder;

constexpr std::uint32_t kA = 1, kB = 2, kC = 3, kD = 4;

// Elements a to d, group 5 = {b, a}; "t" in a script stands for text.
HtmlDictionaryBuilder Letters() {
    HtmlDictionaryBuilder b;
    b.Element(kA, "a", "").Element(kB, "b", "").Element(kC, "c", "").Element(kD, "d", "");
    b.Group(5, {kB, kA});
    return b;
}

std::uint32_t IdOf(const std::string& name) {
    if (name == "t") return markup::kTextElementId;
    if (name == "-") return 0;
    return static_cast<std::uint32_t>(name[0] - 'a' + 1);
}

std::string NameOf(std::uint32_t id) {
    if (id == 0) return "-";
    if (id == markup::kTextElementId) return "t";
    return std::string(1, static_cast<char>('a' + id - 1));
}

struct ModelCase {
    const char* model;
    // Steps, space-separated: "x" accepts x, "!x" refuses x; "end" / "open"
    // the content may / may not end; "undo" / "!undo" Undo answers true /
    // false; "next=x" NextElement(untilEnd) names x (on a copy), "any=x"
    // NextElement without it; "-" for none.
    const char* script;
};

void PrintTo(const ModelCase& c, std::ostream* out) {
    *out << c.model << ": " << c.script;
}

class ElementContentScript : public ::testing::TestWithParam<ModelCase> {};

TEST_P(ElementContentScript, FollowsTheScript) {
    const HtmlDictionaryBuilder builder = Letters();
    const auto dictionary = builder.Build();
    const auto symbol = builder.Model(GetParam().model);
    auto model = ElementContent::Create(*symbol);
    std::istringstream steps(GetParam().script);
    std::string step;
    int index = 0;
    while (steps >> step) {
        SCOPED_TRACE("step " + std::to_string(++index) + " \"" + step + "\"");
        if (step == "end") {
            EXPECT_TRUE(model->CanEnd());
        } else if (step == "open") {
            EXPECT_FALSE(model->CanEnd());
        } else if (step == "undo") {
            EXPECT_TRUE(model->Undo());
        } else if (step == "!undo") {
            EXPECT_FALSE(model->Undo());
        } else if (step.rfind("next=", 0) == 0 || step.rfind("any=", 0) == 0) {
            const bool untilEnd = step[0] == 'n';
            auto copy = model->Clone();
            EXPECT_EQ(NameOf(copy->NextElement(untilEnd, *dictionary)), step.substr(step.find('=') + 1));
        } else if (step[0] == '!') {
            EXPECT_FALSE(model->Accept(IdOf(step.substr(1)), *dictionary));
        } else {
            EXPECT_TRUE(model->Accept(IdOf(step), *dictionary));
        }
    }
}

// The started nodes with their places and counts, depth first.
std::string Shape(const ElementContent& node) {
    std::string out = std::to_string(node.Index()) + ":" + std::to_string(node.Count());
    if (const auto* branch = dynamic_cast<const markup::ElementBranch*>(&node)) {
        out += "(";
        for (std::uint32_t i = 0; const ElementContent* child = branch->StartedChild(i); ++i) out += Shape(*child) + " ";
        out += ")";
    }
    return out;
}

// Accepting a child and undoing it at once gives back the state exactly:
// the content checks rely on it to ask without copying.
TEST_P(ElementContentScript, UndoTakesBackWhatAcceptTook) {
    const HtmlDictionaryBuilder builder = Letters();
    const auto dictionary = builder.Build();
    const auto symbol = builder.Model(GetParam().model);
    auto model = ElementContent::Create(*symbol);
    std::istringstream steps(GetParam().script);
    // The script's accepting steps lead through the states; each is probed.
    std::string step = "start";
    for (;;) {
        const std::string before = Shape(*model);
        for (const char* name : {"a", "b", "c", "d", "t"}) {
            if (!model->Accept(IdOf(name), *dictionary)) continue;
            EXPECT_TRUE(model->Undo()) << name;
            EXPECT_EQ(Shape(*model), before) << "after " << step << ", taking " << name;
        }
        if (!(steps >> step)) break;
        if (step.find_first_of("=!") == std::string::npos && step != "end" && step != "open" && step != "undo") {
            model->Accept(IdOf(step), *dictionary);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Models, ElementContentScript,
    ::testing::Values(
        // Occurrence codes on leaves.
        ModelCase{"a", "open next=a a end !a next=-"},
        ModelCase{"a?", "end next=- any=a a !a end"},
        ModelCase{"a*", "end a a a end"},
        ModelCase{"a+", "open next=a a end a a end"},
        ModelCase{"a!", "end !a any=-"},
        ModelCase{"#PCDATA*", "t t t end !a"},
        ModelCase{"%5+", "open next=b a b !c end"},
        ModelCase{"%9", "open !a next=-"},
        // EMPTY takes nothing, ANY everything.
        ModelCase{"EMPTY", "end !t !a any=-"},
        ModelCase{"ANY", "end t a d t end any=-"},
        // Choice.
        ModelCase{"(a | b)", "open next=a b end !a !b"},
        ModelCase{"(a | b)*", "a b a end"},
        ModelCase{"(a | b?)", "end next=- any=a a end"},
        // Sequence: optional children are passed over, the occurrence
        // repeats from the start.
        ModelCase{"(a, b?)", "a end !c b !b end"},
        ModelCase{"(a, b)", "open next=a !b a open next=b b end !a"},
        ModelCase{"(a?, b)", "open next=b any=a b end !a"},
        ModelCase{"(a, b)+", "a b a open b end"},
        ModelCase{"(a?, b?)*", "b a b end"},
        ModelCase{"(a, b, c)", "a !c b c end"},
        // All in any order; a cycle closes when the next begins, with what
        // it lacks left out if that may be.
        ModelCase{"(a & b)", "open b a end !a !b"},
        ModelCase{"(a & b?)", "open next=a a end b end"},
        ModelCase{"(a & b)+", "b a a open b end"},
        ModelCase{"(a & b? & c?)*", "a b a c end"},
        ModelCase{"(a & b & c)*", "a b !a open c a"},
        // Nested groups.
        ModelCase{"(a?, (b | c)+, d)", "b c b open next=d d end !b"},
        ModelCase{"((a, b) | c)*", "a open b c a b end"},
        ModelCase{"((a & b), c)", "b a c end"},
        ModelCase{"(a, (b, c)?)", "a end b open c end"},
        // A refusal leaves no trace: the left-out children it tried are gone.
        ModelCase{"(a?, b?)", "!c a b end"},
        ModelCase{"(a, (b?, c?))", "a !d b c end"},
        // Undo takes back the last occurrence, and only that.
        ModelCase{"(a, b)", "a b undo open b end"},
        ModelCase{"(a | b)*", "a b undo a b end"},
        ModelCase{"(a)", "a undo open a end"},
        ModelCase{"(a, (b))", "a b undo !a b end"},
        ModelCase{"(a, b?, c)", "a c undo open c end"},
        ModelCase{"(a & b)*", "a b a undo b !b a"},
        ModelCase{"(a, b)", "!undo a undo !undo a"}));

TEST(ElementContentTest, CopiesAreDeep) {
    const HtmlDictionaryBuilder builder = Letters();
    const auto dictionary = builder.Build();
    const auto symbol = builder.Model("(a, (b, c))");
    auto model = ElementContent::Create(*symbol);
    ASSERT_TRUE(model->Accept(kA, *dictionary));
    ASSERT_TRUE(model->Accept(kB, *dictionary));
    auto copy = model->Clone();
    EXPECT_EQ(copy->NodeCount(), model->NodeCount());
    EXPECT_TRUE(model->Accept(kC, *dictionary));
    EXPECT_FALSE(copy->CanEnd());
    EXPECT_TRUE(copy->Accept(kC, *dictionary));
    EXPECT_TRUE(copy->CanEnd());

    auto other = ElementContent::Create(*symbol);
    other->CopyState(*copy);
    EXPECT_EQ(other->NodeCount(), 5u);  // the root, a, the inner sequence, b and c
    EXPECT_FALSE(other->Accept(kA, *dictionary));
}

TEST(ElementContentTest, ConnectivesWithoutChildrenTakeNothing) {
    const auto dictionary = Letters().Build();
    for (std::uint32_t connector : {markup::kConnectAll, markup::kConnectChoice, markup::kConnectSequence}) {
        markup::LogicalConnective empty;
        empty.SetConnector(connector);
        empty.SetOccurrence(markup::kOccurAny);
        auto model = ElementContent::Create(empty);
        EXPECT_FALSE(model->Accept(kA, *dictionary)) << connector;
        EXPECT_EQ(model->NextElement(false, *dictionary), 0u) << connector;
        EXPECT_TRUE(model->CanEnd()) << connector;
        EXPECT_FALSE(model->Undo()) << connector;
    }
}

struct ProbeCase {
    const char* model;
    const char* before;  // children taken first
    const char* child;
    std::uint32_t code;
    const char* implied;
};

void PrintTo(const ProbeCase& c, std::ostream* out) {
    *out << c.model << " after \"" << c.before << "\" with " << c.child;
}

class ContentProbeTest : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(ContentProbeTest, AnswersWithoutChangingTheModel) {
    const HtmlDictionaryBuilder builder = Letters();
    const auto dictionary = builder.Build();
    const auto symbol = builder.Model(GetParam().model);
    auto model = ElementContent::Create(*symbol);
    std::istringstream before(GetParam().before);
    std::string name;
    while (before >> name) ASSERT_TRUE(model->Accept(IdOf(name), *dictionary));
    const std::uint32_t nodes = model->NodeCount();
    const bool canEnd = model->CanEnd();

    const markup::ContentProbe probe = markup::ProbeContent(*model, IdOf(GetParam().child), *dictionary);
    EXPECT_EQ(probe.code, GetParam().code);
    EXPECT_EQ(NameOf(probe.impliedId), GetParam().implied);
    EXPECT_EQ(model->NodeCount(), nodes);
    EXPECT_EQ(model->CanEnd(), canEnd);
}

INSTANTIATE_TEST_SUITE_P(Probes, ContentProbeTest,
                         ::testing::Values(ProbeCase{"(a, b)", "", "a", markup::kProbeAccepted, "-"},
                                           ProbeCase{"(a, b)", "", "b", 3, "a"},
                                           ProbeCase{"(a?, b, c)", "", "c", 3, "b"},
                                           ProbeCase{"(a, b)", "a", "a", 5, "-"},
                                           ProbeCase{"(a | b)", "a", "b", 5, "-"},
                                           ProbeCase{"(a | b)*", "a", "c", markup::kProbeRefused, "-"}));

}  // namespace

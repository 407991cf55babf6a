// TreeBuildState and the validator's exception bookkeeping: EnterElement,
// the frames, Collect and CollectExceptions.
#include "markup/parser/tree_build_state.h"

#include <gtest/gtest.h>

#include <string>

#include "html_dictionary.h"
#include "markup/parser/content_validator.h"
#include "tree_fixtures.h"

namespace {

using markup::ElementContentValidator;
using markup::IdList;
using markup::TreeBuildState;
using markup_test::E;
using markup_test::HtmlDictionaryBuilder;
using markup_test::Owned;

std::string Ids(const IdList& ids) {
    std::string out;
    for (std::uint32_t id : ids) out += (out.empty() ? "" : " ") + std::to_string(id);
    return out;
}

// outer includes 5 and excludes 6 and 7; inner includes 6 and excludes 5;
// plain declares nothing.
constexpr std::uint32_t kOuter = 1, kInner = 2, kPlain = 3;

std::unique_ptr<markup::Dictionary> Exceptions(bool caseSensitive = false) {
    HtmlDictionaryBuilder b;
    b.Element(kOuter, "outer", "ANY").Includes({5}).Excludes({6, 7});
    b.Element(kInner, "inner", "ANY").Includes({6}).Excludes({5});
    b.Element(kPlain, "plain", "ANY");
    return b.Build(caseSensitive);
}

std::string Collected(const TreeBuildState& state, std::uint32_t skip = 0) {
    IdList inclusions;
    IdList exclusions;
    state.Collect(inclusions, exclusions, skip);
    return "+" + Ids(inclusions) + " -" + Ids(exclusions);
}

TEST(TreeBuildStateTest, TheInnermostDeclarationDecides) {
    const auto d = Exceptions();
    TreeBuildState state;
    state.SetActive(true);
    ElementContentValidator::EnterElement(*d, state, kOuter);
    EXPECT_EQ(Collected(state), "+5 -6 7");
    IdList inclusions;
    IdList exclusions;
    ElementContentValidator::EnterElement(*d, state, kInner, inclusions, exclusions);
    EXPECT_EQ("+" + Ids(inclusions) + " -" + Ids(exclusions), "+6 -7 5");
    EXPECT_EQ(Collected(state, 1), "+5 -6 7");  // without the innermost frame
    ElementContentValidator::EnterElement(*d, state, kPlain);
    EXPECT_EQ(Collected(state), "+6 -7 5");

    // The same lists from the open elements themselves.
    auto* plain = E(kPlain);
    Owned<markup::Node> doc(E(173, {E(kOuter, {E(kInner, {plain})})}));
    ElementContentValidator::CollectExceptions(*d, inclusions, exclusions, plain, nullptr);
    EXPECT_EQ("+" + Ids(inclusions) + " -" + Ids(exclusions), "+6 -7 5");

    // Closing pops both frames of the innermost element.
    state.PopFrames();
    state.PopFrames();
    EXPECT_EQ(Collected(state), "+5 -6 7");
    EXPECT_EQ(state.InclusionFrameCount(), 1u);
    state.SetActive(false);
    state.PopFrames();
    EXPECT_EQ(state.InclusionFrameCount(), 1u);
    state.SetActive(true);
    state.PopFrames();
    state.PopFrames();  // nothing left to pop
    EXPECT_EQ(Collected(state), "+ -");
}

TEST(TreeBuildStateTest, EnterElementPushesByDefinition) {
    const auto d = Exceptions();
    TreeBuildState state;
    ElementContentValidator::EnterElement(*d, state, markup::kRootElementId);
    EXPECT_EQ(state.InclusionFrameCount(), 0u);  // the root enters no frames
    ElementContentValidator::EnterElement(*d, state, 99);
    EXPECT_EQ(state.InclusionFrameCount(), 1u);  // an unknown id enters empty ones
    EXPECT_EQ(state.ExclusionFrameCount(), 1u);
    EXPECT_EQ(Collected(state), "+ -");

    // Exclusions count only where names ignore case.
    const auto xml = Exceptions(true);
    TreeBuildState xmlState;
    ElementContentValidator::EnterElement(*xml, xmlState, kOuter);
    EXPECT_EQ(Collected(xmlState), "+5 -");
}

TEST(TreeBuildStateTest, UniqueKeepsOneOfEachAndCollectsNothing) {
    TreeBuildState state;
    state.SetUnique(true);
    state.AddInclusion(5);
    state.AddInclusion(5);
    state.PushFrames();
    EXPECT_EQ(Ids(state.Inclusions()), "5");
    EXPECT_EQ(Collected(state), "+ -");
}

}  // namespace

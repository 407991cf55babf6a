// The token cursor: its moves skip separators and consumed tokens, and stop
// at both ends of the list.
#include <gtest/gtest.h>

#include "markup/style/css_token_source.h"
#include "style_fixtures.h"

namespace {

using markup::Vector;
using markup::style::CSSToken;
using markup::style::CSSTokenizer;
using markup::style::CSSTokenSource;
using namespace style_test;

// "a <!--c--> b" is a(0) " "(1) "<!--"(2) "c"(3) "-->"(4) " "(5) b(6) end(7).
class CursorOverComment : public ::testing::Test {
  protected:
    void SetUp() override { CSSTokenizer().Tokenize("a <!--c--> b", 0, tokens); }
    std::string At(CSSToken* token) { return token ? Str(token->Text()) : std::string("none"); }

    Vector<CSSToken> tokens;
    CSSTokenSource cursor{&tokens};
};

TEST_F(CursorOverComment, MovesSkipSeparators) {
    ASSERT_EQ(cursor.Count(), 8u);
    EXPECT_EQ(At(cursor.First()), "a");
    EXPECT_EQ(At(cursor.Next()), "b");
    EXPECT_EQ(cursor.Position(), 6u);
    EXPECT_EQ(At(cursor.Previous()), "a");
    EXPECT_EQ(At(cursor.Last()), "\x04");
    EXPECT_EQ(At(cursor.Seek(1)), "b");
    cursor.SetPosition(2);  // no skipping
    EXPECT_EQ(At(cursor.Current()), "<!--");
    EXPECT_EQ(At(cursor.CurrentSignificant()), "b");
    // Past either end there is no token, and the moves stay there.
    cursor.SetPosition(0);
    EXPECT_EQ(At(cursor.Previous()), "none");
    EXPECT_EQ(At(cursor.Seek(8)), "none");
    EXPECT_EQ(At(cursor.Next()), "none");
}

TEST_F(CursorOverComment, SeparatorsAreMarkedOnTheWay) {
    cursor.First();
    cursor.Next();
    for (std::uint32_t i : {1u, 2u, 3u, 4u, 5u}) EXPECT_TRUE(tokens.At(i)->Separator()) << i;
    EXPECT_FALSE(tokens.At(0)->Separator());
    cursor.Clear();
    for (std::uint32_t i = 0; i < tokens.Count(); ++i) EXPECT_FALSE(tokens.At(i)->Separator()) << i;
}

TEST_F(CursorOverComment, ConsumeTakesTheBlanksAfterAToken) {
    cursor.Consume(tokens.At(0));
    EXPECT_TRUE(tokens.At(0)->Consumed());
    EXPECT_TRUE(tokens.At(1)->Consumed());   // a blank run
    EXPECT_FALSE(tokens.At(2)->Consumed());  // a comment is not
    EXPECT_EQ(cursor.Position(), 0u);
    EXPECT_TRUE(CSSTokenSource::IsConsumedOrBlank(tokens.At(5)));
    EXPECT_FALSE(CSSTokenSource::IsConsumedOrBlank(tokens.At(6)));
    // A consumed token is passed over like a separator.
    cursor.Consume(tokens.At(6));
    EXPECT_EQ(At(cursor.First()), "\x04");
}

// A comment is one token, however many stars and dashes it holds.
TEST(CSSTokenSource, ACommentIsOneToken) {
    Vector<CSSToken> tokens;
    CSSTokenizer().Tokenize("a/* -*- ** -- */\n\n  b", 0, tokens);
    ASSERT_EQ(tokens.Count(), 5u);
    EXPECT_EQ(Str(tokens.At(1)->Text()), "/* -*- ** -- */");
    EXPECT_EQ(Str(tokens.At(2)->Text()), "\n\n  ");
}

TEST(CSSTokenSource, OwningCursorDeletesItsList) {
    auto* tokens = new Vector<CSSToken>();
    CSSTokenizer().Tokenize("a b", 0, *tokens);
    CSSTokenSource cursor(tokens, true);
    EXPECT_EQ(cursor.Count(), 4u);
}

TEST(CSSTokenSource, EmptyOrMissingListGivesNoToken) {
    Vector<CSSToken> empty;
    CSSTokenSource cursor(&empty);
    EXPECT_EQ(cursor.First(), nullptr);
    EXPECT_EQ(cursor.Last(), nullptr);
    CSSTokenSource none(nullptr);
    EXPECT_EQ(none.Next(), nullptr);
    EXPECT_EQ(none.Count(), 0u);
}

}  // namespace

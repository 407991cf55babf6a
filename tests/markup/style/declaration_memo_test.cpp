// Declaration texts read once: a repeated text gives the values read the
// first time, a presentation attribute's reading keeps its first
// declaration only, and the memo stays within its bound.
#include "markup/style/css_declaration_memo.h"

#include <gtest/gtest.h>

#include <string>

#include "style_fixtures.h"

namespace {

using markup::style::CSSTokenizer;
using markup::style::detail::DeclarationMemo;
using style_test::Css;

TEST(DeclarationMemo, ARepeatedTextIsReadOnceAndAPresentationTextGivesItsFirstDeclaration) {
    DeclarationMemo memo;
    CSSTokenizer tokenizer;
    const std::string text = "fill:#ff0000;stroke:blue;stroke-width:2 2";
    const DeclarationMemo::Values& style = memo.Get(text, false, tokenizer, Css());
    ASSERT_EQ(style.values.size(), 4u);  // fill, stroke and a width of two values
    EXPECT_EQ(style.declarations[2], style.declarations[3]);
    EXPECT_NE(style.declarations[0], style.declarations[1]);
    EXPECT_EQ(&memo.Get(text, false, tokenizer, Css()), &style);

    const DeclarationMemo::Values& presentation = memo.Get(text, true, tokenizer, Css());
    EXPECT_NE(&presentation, &style);
    ASSERT_EQ(presentation.values.size(), 1u);
    EXPECT_EQ(presentation.values[0].propertyId, style.values[0].propertyId);
    EXPECT_EQ(presentation.values[0].Text(), "#ff0000");
}

TEST(DeclarationMemo, LongTextsPassAndTheKeptTextsStayBounded) {
    DeclarationMemo memo;
    CSSTokenizer tokenizer;
    const std::string font = "font-family:" + std::string(DeclarationMemo::kMaxTextBytes, 'a');
    const DeclarationMemo::Values& first = memo.Get(font, false, tokenizer, Css());
    const DeclarationMemo::Values& second = memo.Get(font, false, tokenizer, Css());
    EXPECT_NE(&first, &second);  // read each time, both valid until settled
    EXPECT_EQ(first.values.size(), second.values.size());

    const DeclarationMemo::Values& kept = memo.Get("fill:red", false, tokenizer, Css());
    for (std::size_t i = 1; i < DeclarationMemo::kMaxTexts; ++i)
        memo.Get("stroke-width:" + std::to_string(i), false, tokenizer, Css());
    memo.Settle();  // full: starts again
    const DeclarationMemo::Values& again = memo.Get("fill:red", false, tokenizer, Css());
    ASSERT_EQ(again.values.size(), 1u);
    EXPECT_EQ(again.values[0].Text(), "red");
    (void)kept;
}

}  // namespace

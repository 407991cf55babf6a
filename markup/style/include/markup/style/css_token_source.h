// CSSTokenSource: the cursor over a token list that the rule, selector,
// declaration and value parsers read through.
//
// Blanks, line breaks, comments, comment markers and skipped at-rules
// (types 35 to 40) are separators, and so is any token a parser has marked
// consumed: the skipping moves pass over them. Positions are unsigned;
// stepping back from 0, like stepping past the last token, leaves the list
// and gives no token, and any move stops there.
#pragma once

#include <cstdint>

#include "markup/containers.h"
#include "markup/style/css_token.h"

namespace markup::style {

class CSSTokenSource : public Iterator<CSSToken> {
  public:
    // With owning set, destroying the cursor deletes the list and its tokens.
    explicit CSSTokenSource(Vector<CSSToken>* tokens, bool owning = false);
    ~CSSTokenSource() override;

    // Position 0, no skipping (inherited: Reset, Current, Position, List,
    // Count, SetPosition).
    // One step forward, then past separators.
    CSSToken* Next() override;
    // One step back, then back past separators.
    CSSToken* Previous() override;
    // Position 0, then past separators.
    CSSToken* First() override;
    // The last index, then back past separators.
    CSSToken* Last() override;
    // The index, then past separators.
    CSSToken* Seek(std::uint32_t position) override;

    // Past separators from the position; the token there.
    CSSToken* CurrentSignificant();
    // Marks the token consumed, and with it every token right after it that
    // is consumed already or a blank run. The position stays.
    void Consume(CSSToken* token);
    // The same for the token at an index (nothing past the end).
    void ConsumeAt(std::uint32_t index);
    // Clears the separator byte of every token.
    void Clear();
    // Whether the cursor passes over the token; a token of types 35 to 40
    // gets its separator byte set on the way.
    bool IsSeparator(CSSToken* token);
    static bool IsConsumedOrBlank(const CSSToken* token);

    // Parser helpers: the type of the current significant token (0 past the
    // end), and marks up to and including the next token of `type`,
    // stopping before a "}" or the end token; the position follows.
    std::uint32_t CurrentType();
    void ConsumeThrough(std::uint32_t type);

  private:
    void SkipForward();
    void SkipBackward();
    CSSToken* At(std::uint32_t index) const;

    Vector<CSSToken>* tokens_;
    bool owning_;
};

}  // namespace markup::style

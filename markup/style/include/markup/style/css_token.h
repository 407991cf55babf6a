// CSSToken: one token of a CSS text, as the scanner classified it.
//
// Tokens are made by CSSTokenizer and owned by the list they are appended
// to. The separator and consumed bytes are the parsers' marks: a token
// whose separator or consumed byte is set is invisible to the cursor's
// skipping moves (CSSTokenSource).
#pragma once

#include <cstdint>

#include "markup/small_blocks.h"
#include "markup/string.h"

namespace markup::style {

// The scanner's token types. "After a name" types come only directly after
// an identifier or another token of types 17 to 30; their "elsewhere" twins
// everywhere else.
enum CSSTokenTypeEnum : std::uint32_t {
    kCSSEnd = 1,          // the end character (code 4) every text ends with
    kCSSImportRule = 2,   // "@import"
    kCSSImportant = 3,    // "!" and "important"
    kCSSIdentifier = 4,
    kCSSString = 5,       // quotes included
    kCSSNumber = 6,
    kCSSPercentage = 7,
    kCSSPoints = 8,       // the eight length units, 8 to 15
    kCSSMillimetres = 9,
    kCSSCentimetres = 10,
    kCSSPicas = 11,
    kCSSInches = 12,
    kCSSPixels = 13,
    kCSSEms = 14,
    kCSSExes = 15,
    kCSSZero = 16,        // a unitless zero
    kCSSLinkAfterName = 17,
    kCSSVisitedAfterName = 18,
    kCSSActiveAfterName = 19,
    kCSSFirstLineAfterName = 20,
    kCSSFirstLetterAfterName = 21,
    kCSSIdAfterName = 22,     // "#" and name characters
    kCSSClassAfterName = 23,  // "." and name characters
    kCSSLink = 24,
    kCSSVisited = 25,
    kCSSActive = 26,
    kCSSFirstLine = 27,
    kCSSFirstLetter = 28,
    kCSSId = 29,
    kCSSClass = 30,
    kCSSURL = 31,          // url(...)
    kCSSRGB = 32,          // rgb(r, g, b)
    kCSSHexColour6 = 33,   // "#" and six hexadecimal digits
    kCSSHexColour3 = 34,   // "#" and three hexadecimal digits
    kCSSCommentOpen = 35,  // "<!--"
    kCSSCommentClose = 36, // "-->"
    kCSSBlanks = 37,       // blanks and tabs
    kCSSLineBreak = 38,
    kCSSOther = 39,        // any other character; skipped at-rules
    kCSSComment = 40,      // comment text, a piece at a time
    kCSSMinus = 41,
    kCSSSlash = 42,
    kCSSPlus = 43,
    kCSSBlockOpen = 44,
    kCSSBlockClose = 45,
    kCSSSemicolon = 46,
    kCSSComma = 47,
    kCSSHash = 48,         // "#" before no name character
    kCSSColon = 49,        // ":" starting no pseudo-class
    kCSSDegrees = 50,
    kCSSGrads = 51,
    kCSSRadians = 52,
    kCSSOtherNumber = 56,  // digits with several points
    // "@media", its query list and "{" of a block whose rules apply: the
    // rules inside read as the sheet's own (the block's "}" closes nothing).
    kCSSMediaOpen = 57,
};

// Blanks, line breaks, comments and comment markers: what a selector
// reads as one blank. (The cursor also passes over type 39, which a
// selector needs: "*", "[", ">", "~".)
inline constexpr bool IsBlankTokenType(std::uint32_t type) {
    return (type >= kCSSCommentOpen && type <= kCSSComment && type != kCSSOther) || type == kCSSMediaOpen;
}

// The end character the tokenizer appends to every text.
inline constexpr char kCSSEndCharacter = 4;

class CSSToken {
  public:
    // A sheet holds a token for every few bytes of its text.
    MARKUP_SMALL_BLOCK_ALLOCATION

    CSSToken(std::uint32_t type, const String& text, std::uint8_t origin)
        : type_(type), origin_(origin), text_(text) {}
    virtual ~CSSToken();

    // A heap copy, marks included (the containers copy through it).
    virtual CSSToken* Clone() const;

    std::uint32_t Type() const { return type_; }
    // Exactly the characters the scanner matched.
    const String& Text() const { return text_; }
    // The caller's mark for the text the token came from.
    std::uint8_t Origin() const { return origin_; }

    bool Separator() const { return separator_ != 0; }
    void SetSeparator(bool on) { separator_ = on ? 1 : 0; }
    bool Consumed() const { return consumed_ != 0; }
    void SetConsumed(bool on) { consumed_ = on ? 1 : 0; }

  private:
    std::uint32_t type_;
    std::uint8_t separator_ = 0;
    std::uint8_t consumed_ = 0;
    std::uint8_t origin_;
    String text_;
};

}  // namespace markup::style

// CSSTokenizer: cuts a CSS text into CSSTokens with the flex scanner whose
// rules css_scanner.l holds.
//
// The scanner keeps its state (initial, after a name, comment, skipped
// at-rule) and the nesting depth of a skipped at-rule from one call to the
// next; every text ends with the end character, on which each state returns
// to the initial one, so a text never leaks state into the next.
#pragma once

#include <cstdint>

// The generated scanner includes the flex class itself, under its prefix,
// before it includes this header.
#ifndef CSS_SCANNER_GENERATED
#undef yyFlexLexer
#define yyFlexLexer CSSFlexLexer
#include <FlexLexer.h>
#undef yyFlexLexer
#endif

#include "markup/containers.h"
#include "markup/string.h"
#include "markup/style/css_token.h"

namespace markup::style {

class CSSTokenizer : public CSSFlexLexer {
  public:
    // A scanner without streams: its input is the text Tokenize hands it.
    CSSTokenizer();
    ~CSSTokenizer() override;
    CSSTokenizer(const CSSTokenizer&) = delete;
    CSSTokenizer& operator=(const CSSTokenizer&) = delete;

    // Scans the text (with the end character appended) and appends one new
    // token per scanner result, each carrying the origin byte; the list
    // owns them. Always true.
    bool Tokenize(const String& text, std::uint8_t origin, Vector<CSSToken>& tokens);
    // Scans the text (with the end character appended) to its end, making
    // no tokens: `take(type, text, length)` for each scanner result, its
    // text the result's bytes in the text.
    template <class Take>
    void Scan(const String& text, Take&& take) {
        Start(text);
        // The results follow each other without a gap; their bytes are
        // taken from the text, since the scanner's buffer holds its NUL
        // bytes as 1 bytes (see LexerInput).
        std::uint32_t scanned = 0;
        for (int type = yylex(); type != 0; type = yylex()) {
            const auto length = static_cast<std::uint32_t>(YYLeng());
            take(type, text_.Text() + scanned, length);
            scanned += length;
        }
        // The text's copy is not needed past the scan.
        text_ = String();
    }

    // The next token type, 0 at the end of the input; the matched text is
    // YYText().
    int yylex() override;

  protected:
    // The scanner's input: as much of the text as fits, 0 after its end.
    int LexerInput(char* buffer, int size) override;
    // flex's own failures raise a fault instead of ending the process:
    // MemoryAllocationFault when it ran out of memory, else RuntimeFault.
    void LexerError(const char* message) override;

  private:
    void Start(const String& text);

    String text_;
    std::uint32_t readPosition_ = 0;
    // The brace depth inside a skipped at-rule; reset when one starts.
    std::int32_t skipDepth_ = 0;
    // Whether a scan has run, so the next one restarts the input.
    bool started_ = false;
};

}  // namespace markup::style

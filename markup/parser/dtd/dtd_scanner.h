// The DTD scanner: the flex scanner class whose rules dtd_scanner.l holds.
//
// Its actions append tokens to the compiler it was made for and switch that
// compiler's list at each declaration keyword; a scan runs to the end of the
// input in one call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>

// The generated scanner includes the flex class itself, under the prefix
// the rules give it, before it includes this header.
#ifndef DTD_SCANNER_GENERATED
#undef yyFlexLexer
#define yyFlexLexer DtdFlexLexer
#include <FlexLexer.h>
#undef yyFlexLexer
#endif

namespace markup::dtd {

class DtdCompiler;

class DtdScanner : public DtdFlexLexer {
  public:
    DtdScanner(std::istream& input, DtdCompiler& compiler);

    // Scans the whole input; false when flex gave up (its message printed).
    bool ScanAll();
    int yylex() override;

  protected:
    // flex's own failures: printed, then the scan ends.
    void LexerError(const char* message) override;

  private:
    void CountLines();
    void Regular(std::uint32_t code);
    void Valued(std::uint32_t code, const char* text, std::size_t length);
    void Literal(const char* text, std::size_t length);
    void Declaration(std::uint32_t list, std::uint32_t code);
    void EndOrOptional();

    DtdCompiler& compiler_;
    std::uint32_t line_ = 1;
};

}  // namespace markup::dtd

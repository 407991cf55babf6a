// The DTD scanner: the flex scanner class whose rules dtd_scanner.l holds.
//
// Its actions append tokens to the compiler it was made for and switch that
// compiler's list at each declaration keyword; a scan runs to the end of the
// input in one call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <vector>

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
    // The input's next bytes, NULs read as 1 bytes.
    int LexerInput(char* buffer, int size) override;
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
    // Bytes read from the input, and matched up to the current match and
    // its start.
    std::uint64_t read_ = 0;
    std::uint64_t matched_ = 0;
    std::uint64_t matchStart_ = 0;
    // Where the input has NULs, in order.
    std::vector<std::uint64_t> nuls_;
};

}  // namespace markup::dtd

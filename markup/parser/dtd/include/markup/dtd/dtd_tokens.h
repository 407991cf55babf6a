// The tokens of DTD text: their codes (also the grammar's terminal codes)
// and the token objects the scanner appends to the compiler's lists.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <string_view>

namespace markup::dtd {

enum TokenCode : std::uint32_t {
    kTokReserved = 258,  // never scanned; the grammar takes it where a name token may stand
    kTokName = 259,
    kTokNumber = 260,  // one decimal digit
    kTokLiteral = 261,
    kTokElementDecl = 262,
    kTokPIStart = 263,
    kTokEmpty = 264,
    kTokAny = 265,
    kTokQuestion = 266,
    kTokStar = 267,
    kTokPlus = 268,
    kTokLParen = 269,
    kTokRParen = 270,
    kTokAttlistDecl = 271,
    kTokCData = 272,
    kTokId = 273,
    kTokIdRef = 274,
    kTokIdRefs = 275,
    kTokEntity = 276,
    kTokEntities = 277,
    kTokNmToken = 278,
    kTokNmTokens = 279,
    kTokNotation = 280,
    kTokRequired = 281,
    kTokImplied = 282,
    kTokFixed = 283,
    kTokPercent = 284,  // "%" between white space: a parameter-entity declaration
    kTokEntityDecl = 285,
    kTokPIEnd = 286,
    kTokSystem = 287,
    kTokNData = 288,
    kTokGT = 289,
    kTokPCData = 290,
    kTokBar = 291,
    kTokPublic = 292,
    kTokNotationDecl = 293,
    kTokComma = 294,
    kTokEntityRef = 295,
    kTokPERef = 296,
};

// The grammar's name of a code ("NAME", "ELEMENT_DECL"); "?" for others.
const char* TokenName(std::uint32_t code);
// ELEMENT_DECL, ENTITY_DECL, ATTLIST_DECL, NOTATION_DECL and PI_START.
bool IsDeclarationStart(std::uint32_t code);

// The token lists of a compiler, one per declaration kind: a declaration
// keyword sends the tokens after it to its kind's list.
enum ListKind : std::uint32_t {
    kListElements = 1,
    kListEntities = 2,
    kListAttributes = 3,
    kListNotations = 4,
    kListInstructions = 5,
    kListScratch = 6,  // one entity declaration at a time, while the entity pass reads it
    kListOther = 7,    // tokens before the first declaration, and declarations taken out
};
constexpr std::uint32_t kListCount = 7;

// How AddToken makes a token.
enum TokenForm : std::uint32_t {
    kFormRegular = 0,
    kFormLiteral = 1,
    kFormValued = 2,
};

class CToken {
  public:
    CToken(std::uint32_t code, std::uint32_t line) : code_(code), line_(line) {}
    virtual ~CToken() = default;

    // A copy of the same class: code, line and text.
    virtual std::unique_ptr<CToken> Copy() const = 0;
    // Empty for the tokens that carry no text.
    virtual const std::string& Text() const;

    std::uint32_t Code() const { return code_; }
    std::uint32_t Line() const { return line_; }
    // How many parameter-entity expansions stand between this token and the
    // text it was scanned from; 0 for a token of the text itself.
    std::uint32_t ExpansionDepth() const { return depth_; }
    void SetExpansionDepth(std::uint32_t depth) { depth_ = depth; }

  protected:
    CToken(const CToken& other) = default;

  private:
    std::uint32_t code_;
    std::uint32_t line_;
    std::uint32_t depth_ = 0;
};

// Keywords and punctuation.
class CRegularToken : public CToken {
  public:
    using CToken::CToken;
    CRegularToken(const CRegularToken& other) = default;
    std::unique_ptr<CToken> Copy() const override;
};

// Names, digits and references, with their text.
class CValuedToken : public CToken {
  public:
    CValuedToken(std::uint32_t code, std::uint32_t line, std::string_view text)
        : CToken(code, line), text_(text) {}
    CValuedToken(const CValuedToken& other) = default;
    std::unique_ptr<CToken> Copy() const override;
    const std::string& Text() const override { return text_; }

  private:
    std::string text_;
};

// A quoted string; its text is what stands between the quotes.
class CLiteralToken : public CValuedToken {
  public:
    using CValuedToken::CValuedToken;
    CLiteralToken(const CLiteralToken& other) = default;
    std::unique_ptr<CToken> Copy() const override;
};

using TokenList = std::list<std::unique_ptr<CToken>>;

}  // namespace markup::dtd

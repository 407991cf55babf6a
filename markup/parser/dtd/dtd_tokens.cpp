// The token objects and the grammar's names of the token codes.
#include "markup/dtd/dtd_tokens.h"

namespace markup::dtd {

namespace {

// In code order from kTokReserved.
constexpr const char* kTokenNames[] = {
    "RESERVED", "NAME",   "NUMBER",  "LITERAL",       "ELEMENT_DECL", "PI_START",     "EMPTY",    "ANY",
    "QUESTION", "STAR",   "PLUS",    "LPAREN",        "RPAREN",       "ATTLIST_DECL", "CDATA",    "ID",
    "IDREF",    "IDREFS", "ENTITY",  "ENTITIES",      "NMTOKEN",      "NMTOKENS",     "NOTATION", "REQUIRED",
    "IMPLIED",  "FIXED",  "PERCENT", "ENTITY_DECL",   "PI_END",       "SYSTEM",       "NDATA",    "GT",
    "PCDATA",   "BAR",    "PUBLIC",  "NOTATION_DECL", "COMMA",        "ENTITY_REF",   "PE_REF",
};
static_assert(sizeof kTokenNames / sizeof kTokenNames[0] == kTokPERef - kTokReserved + 1);

const std::string kNoText;

}  // namespace

const char* TokenName(std::uint32_t code) {
    return code >= kTokReserved && code <= kTokPERef ? kTokenNames[code - kTokReserved] : "?";
}

bool IsDeclarationStart(std::uint32_t code) {
    return code == kTokElementDecl || code == kTokEntityDecl || code == kTokAttlistDecl ||
           code == kTokNotationDecl || code == kTokPIStart;
}

const std::string& CToken::Text() const {
    return kNoText;
}

std::unique_ptr<CToken> CRegularToken::Copy() const {
    return std::make_unique<CRegularToken>(*this);
}

std::unique_ptr<CToken> CValuedToken::Copy() const {
    return std::make_unique<CValuedToken>(*this);
}

std::unique_ptr<CToken> CLiteralToken::Copy() const {
    return std::make_unique<CLiteralToken>(*this);
}

}  // namespace markup::dtd

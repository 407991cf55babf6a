/* The grammar of DTD declarations. It checks the syntax of one token list
 * of the compiler and builds nothing: the builders read the lists after the
 * passes. No rule takes the error token, so the first syntax error ends a
 * run; the compiler moves the failed declaration out and runs it again. */
%require "3.2"
%define api.prefix {dtd}
%define api.pure full
%define api.token.prefix {TOK_}
%define parse.error simple
%parse-param {markup::dtd::DtdCompiler& compiler}
%lex-param {markup::dtd::DtdCompiler& compiler}

%code requires {
namespace markup::dtd {
class DtdCompiler;
}
}

%code {
#include "markup/dtd/dtd_compiler.h"

// The stacks start with 200 entries and double up to 10000; past that a run
// ends with result 2.
#define YYINITDEPTH 200
#define YYMAXDEPTH 10000

namespace {

int dtdlex(DTDSTYPE*, markup::dtd::DtdCompiler& compiler) {
    return compiler.NextToken();
}

void dtderror(markup::dtd::DtdCompiler& compiler, const char* message) {
    compiler.ReportParserError(message);
}

}  // namespace
}

%token RESERVED 258 NAME 259 NUMBER 260 LITERAL 261 ELEMENT_DECL 262 PI_START 263
%token EMPTY 264 ANY 265 QUESTION 266 STAR 267 PLUS 268 LPAREN 269 RPAREN 270
%token ATTLIST_DECL 271 CDATA 272 ID 273 IDREF 274 IDREFS 275 ENTITY 276 ENTITIES 277
%token NMTOKEN 278 NMTOKENS 279 NOTATION 280 REQUIRED 281 IMPLIED 282 FIXED 283
%token PERCENT 284 ENTITY_DECL 285 PI_END 286 SYSTEM 287 NDATA 288 GT 289 PCDATA 290
%token BAR 291 PUBLIC 292 NOTATION_DECL 293 COMMA 294 ENTITY_REF 295 PE_REF 296

%start dtd

%%

dtd: decls ;

nmtoken: RESERVED | NAME | NUMBER ;

pi: PI_START pi_target pi_values PI_END ;
pi_values: %empty | pi_values nmtoken ;
pi_target: NAME ;

decls: %empty
     | decls elementdecl
     | decls attlistdecl
     | decls entitydecl
     | decls notationdecl
     | decls pi
     ;

elementdecl: ELEMENT_DECL NAME contentspec GT ;
contentspec: EMPTY | ANY | mixed | children ;
children: group QUESTION | group STAR | group PLUS | group ;
group: LPAREN cp cp_list RPAREN ;
cp_list: %empty | cp_list BAR cp | cp_list COMMA cp ;
cp: particle QUESTION | particle STAR | particle PLUS | particle ;
particle: NAME | group ;
mixed: LPAREN PCDATA mixed_names RPAREN
     | LPAREN PCDATA mixed_names RPAREN STAR
     ;
mixed_names: %empty | mixed_names BAR NAME ;

attlistdecl: ATTLIST_DECL NAME attdefs GT ;
attdefs: %empty | attdefs attdef ;
attdef: NAME atttype defaultdecl ;
atttype: stringtype | tokenizedtype | enumeratedtype ;
stringtype: CDATA ;
tokenizedtype: ID | IDREF | IDREFS | ENTITY | ENTITIES | NMTOKEN | NMTOKENS ;
enumeratedtype: notationtype | enumeration ;
notationtype: NOTATION LPAREN NAME notation_names RPAREN ;
notation_names: %empty | notation_names BAR NAME ;
enumeration: LPAREN nmtoken nmtoken_list RPAREN ;
nmtoken_list: %empty | nmtoken_list BAR nmtoken ;
defaultdecl: REQUIRED | IMPLIED | fixed_opt LITERAL ;
fixed_opt: %empty | FIXED ;

entitydecl: gedecl | pedecl ;
gedecl: ENTITY_DECL NAME entitydef GT ;
pedecl: ENTITY_DECL PERCENT NAME pedef GT ;
entitydef: LITERAL | externalid ndata_opt ;
ndata_opt: %empty | ndatadecl ;
pedef: LITERAL | externalid ;
externalid: SYSTEM LITERAL | PUBLIC LITERAL LITERAL ;
ndatadecl: NDATA NAME ;

notationdecl: NOTATION_DECL NAME notation_id GT ;
notation_id: externalid | publicid ;
publicid: PUBLIC LITERAL ;

%%

// The codes the scanner makes are the grammar's terminal codes.
namespace {

constexpr bool Same(int grammar, std::uint32_t scanner) {
    return grammar >= 0 && static_cast<std::uint32_t>(grammar) == scanner;
}

using namespace markup::dtd;
static_assert(Same(TOK_RESERVED, kTokReserved) &&
              Same(TOK_NAME, kTokName) &&
              Same(TOK_NUMBER, kTokNumber) &&
              Same(TOK_LITERAL, kTokLiteral) &&
              Same(TOK_ELEMENT_DECL, kTokElementDecl) &&
              Same(TOK_PI_START, kTokPIStart) &&
              Same(TOK_EMPTY, kTokEmpty) &&
              Same(TOK_ANY, kTokAny) &&
              Same(TOK_QUESTION, kTokQuestion) &&
              Same(TOK_STAR, kTokStar) &&
              Same(TOK_PLUS, kTokPlus) &&
              Same(TOK_LPAREN, kTokLParen) &&
              Same(TOK_RPAREN, kTokRParen) &&
              Same(TOK_ATTLIST_DECL, kTokAttlistDecl) &&
              Same(TOK_CDATA, kTokCData) &&
              Same(TOK_ID, kTokId) &&
              Same(TOK_IDREF, kTokIdRef) &&
              Same(TOK_IDREFS, kTokIdRefs) &&
              Same(TOK_ENTITY, kTokEntity) &&
              Same(TOK_ENTITIES, kTokEntities) &&
              Same(TOK_NMTOKEN, kTokNmToken) &&
              Same(TOK_NMTOKENS, kTokNmTokens) &&
              Same(TOK_NOTATION, kTokNotation) &&
              Same(TOK_REQUIRED, kTokRequired) &&
              Same(TOK_IMPLIED, kTokImplied) &&
              Same(TOK_FIXED, kTokFixed) &&
              Same(TOK_PERCENT, kTokPercent) &&
              Same(TOK_ENTITY_DECL, kTokEntityDecl) &&
              Same(TOK_PI_END, kTokPIEnd) &&
              Same(TOK_SYSTEM, kTokSystem) &&
              Same(TOK_NDATA, kTokNData) &&
              Same(TOK_GT, kTokGT) &&
              Same(TOK_PCDATA, kTokPCData) &&
              Same(TOK_BAR, kTokBar) &&
              Same(TOK_PUBLIC, kTokPublic) &&
              Same(TOK_NOTATION_DECL, kTokNotationDecl) &&
              Same(TOK_COMMA, kTokComma) &&
              Same(TOK_ENTITY_REF, kTokEntityRef) &&
              Same(TOK_PE_REF, kTokPERef));

}  // namespace

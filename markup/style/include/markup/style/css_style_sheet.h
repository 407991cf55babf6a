// CSSStyleSheet: every CSS text added to a document as one growing token
// list, the rules parsed from it, and the flat list of declarations that
// the matcher filters for each element.
//
// Each text is parsed once: the tokens of earlier texts are marked used,
// so a later text adds its rules after theirs. Nothing is reported: what
// does not parse is skipped.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "markup/containers.h"
#include "markup/parser/css_dictionary.h"
#include "markup/string.h"
#include "markup/style/css_list.h"
#include "markup/style/css_selector.h"
#include "markup/style/css_token.h"
#include "markup/style/css_token_source.h"

namespace markup::style {

class CSSStyleSheet {
  public:
    // The dictionary gives the properties and keywords; it must outlive
    // the sheet.
    explicit CSSStyleSheet(const CSSDictionary& css);
    ~CSSStyleSheet();
    CSSStyleSheet(const CSSStyleSheet&) = delete;
    CSSStyleSheet& operator=(const CSSStyleSheet&) = delete;

    // Tokenizes the text and parses its rules. The first text's tokens
    // start the list; a later text's tokens (without their end token) go
    // before the last token of the list that is not an end token, a comment
    // marker or a skipped at-rule (before the end token when there is
    // none), or, with a position, at that index (at most the end token's).
    void AddText(const String& text, std::uint8_t origin, std::int32_t position = -1);

    // One rule at the cursor; null when it has no selector or no
    // declaration.
    std::unique_ptr<CSSCompoundSelector> ParseRule();

    // The sheet's declarations whose selector matches one of the element's
    // descriptions (only single simple selectors ever do), copied into
    // `out` (emptied first), sorted by specificity, then "!important", in
    // sheet order where both are equal.
    void CollectDeclarations(const Vector<CSSSimpleSelectorDesc>& descriptions, Vector<CSSDeclaration>& out) const;

    const Vector<CSSCompoundSelector>& Rules() const { return rules_; }
    const Vector<CSSDeclaration>& Declarations() const { return declarations_; }
    const Vector<CSSToken>& Tokens() const { return tokens_; }
    CSSTokenSource& Cursor() { return cursor_; }
    const CSSDictionary& Dictionary() const { return css_; }

  private:
    void Rebuild();
    void RebuildDeclarations();
    void IndexDeclarations();

    const CSSDictionary& css_;
    CSSList<CSSToken> tokens_;
    CSSTokenSource cursor_;
    CSSList<CSSDeclaration> declarations_;
    CSSList<CSSCompoundSelector> rules_;
    // Every token before this index is used (a rebuild starts there), and
    // the declarations of this many rules are in the list.
    std::uint32_t firstUnused_ = 0;
    std::uint32_t declaredRules_ = 0;
    // The positions in the list of the declarations a single simple
    // selector makes, by the selector's class folded to lower case, and
    // those of selectors without a class: a class can only match an
    // element's equal class, and a selector without one only an element
    // without any, so an element's candidates are its classes' lists.
    std::unordered_map<std::string, std::vector<std::uint32_t>> byClass_;
    std::vector<std::uint32_t> withoutClass_;
    std::uint32_t indexed_ = 0;
};

}  // namespace markup::style

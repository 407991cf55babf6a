// CSSStyleSheet: every CSS text added to a document as one growing token
// list, the rules parsed from it, and the flat list of declarations that
// the matcher filters for each element through an index.
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

    // The sheet's declarations whose selector matches the element, copied
    // into `out` (emptied first) in the cascade's order: normal ones before
    // "!important" ones, each part by specificity, then in sheet order.
    void CollectMatching(const SelectorElements& elements, SelectorElements::Handle element,
                         Vector<CSSDeclaration>& out) const;
    // The same for one element without parent or siblings that the
    // descriptions stand for (the first one's name and id, each one's class
    // word).
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
    // The positions in the list of the declarations, filed by their
    // selector's last step: its id, else a class, else its type (folded to
    // lower case), else with the universal ones. An element's candidates
    // are the lists of its id, classes and type and the universal list.
    std::unordered_map<std::string, std::vector<std::uint32_t>> byId_;
    std::unordered_map<std::string, std::vector<std::uint32_t>> byClass_;
    std::unordered_map<std::string, std::vector<std::uint32_t>> byType_;
    std::vector<std::uint32_t> universal_;
    std::uint32_t indexed_ = 0;
};

}  // namespace markup::style

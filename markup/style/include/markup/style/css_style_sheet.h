// CSSStyleSheet: every CSS text added to a document as one growing token
// list, the rules parsed from it, and the flat list of declarations that
// the matcher filters for each element through an index.
//
// Each text is parsed once: the tokens of earlier texts are marked used,
// so a later text adds its rules after theirs; the rules keep their texts,
// and the list lets its used tokens go. Nothing is reported: what does not
// parse is skipped.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
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
    void AddPiece(const String& text, std::uint8_t origin, std::int32_t position);
    void Rebuild();
    void CloseEmptySlots(std::uint32_t from);
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
    // The declarations, filed by the rarest key their selector needs: an id
    // of its last step, else an id some ancestor must have, else a class of
    // the last step, else a class of an ancestor, else the last step's type
    // (folded to lower case), else with the universal ones. An element's
    // candidates are the lists of its id, classes and type, those of its
    // ancestors' ids and classes, and the universal list. One entry stands
    // for the run of declarations one selector gives (they sit side by
    // side).
    struct IndexEntry {
        std::uint32_t first;
        std::uint32_t count;
        // Index into filters_ of the keys the selector needs on ancestors,
        // kNoFilter when it needs none.
        std::uint32_t filter;
        // The selector is its key alone (".a", "#b", "rect"): finding the
        // entry under the element's key is the match.
        std::uint32_t keyOnly;
    };
    static constexpr std::uint32_t kNoFilter = 0xFFFFFFFFu;
    using IndexList = std::vector<IndexEntry>;
    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const { return std::hash<std::string_view>()(key); }
    };
    using Index = std::unordered_map<std::string, IndexList, KeyHash, std::equal_to<>>;
    void File(IndexList& list, std::uint32_t first, std::uint32_t count, const ParsedSelector& parsed);
    Index byId_;
    Index byClass_;
    Index byType_;
    Index byAncestorId_;
    Index byAncestorClass_;
    IndexList universal_;
    std::vector<AncestorFilter> filters_;
    // Reused by each match, so that matching an element allocates nothing
    // once they have grown.
    struct Scratch {
        std::string id;
        std::string classes;
        std::string value;
        std::vector<const IndexList*> lists;
        // (cascade order key, declaration index) of the matches.
        std::vector<std::pair<std::uint64_t, std::uint32_t>> matched;
    };
    mutable Scratch scratch_;
    std::uint32_t indexed_ = 0;
};

}  // namespace markup::style

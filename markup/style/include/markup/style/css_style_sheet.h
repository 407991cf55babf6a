// CSSStyleSheet: every CSS text added to a document as one growing token
// list, the rules parsed from it, and the declarations that the matcher
// finds for each element through an index.
//
// Each text is parsed once: the tokens of earlier texts are marked used,
// so a later text adds its rules after theirs, and the list lets its used
// tokens go. A rule is kept as its texts and its selectors in a compact
// form (some three bytes a byte of CSS); its objects (the selectors,
// properties and values the interface shows) are made again from those
// texts when the rule is first asked for, by CollectMatching or Rules(),
// and kept from then on. The cascade asks for a matched rule's values
// alone (CollectMatchingValues), which are read from the same texts and
// kept in the form it applies, a tenth of the objects' size. Nothing is
// reported: what does not parse is skipped.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "markup/containers.h"
#include "markup/parser/css_dictionary.h"
#include "markup/string.h"
#include "markup/style/css_applied_value.h"
#include "markup/style/css_list.h"
#include "markup/style/css_selector.h"
#include "markup/style/css_token.h"
#include "markup/style/css_token_source.h"

namespace markup::style {

class CSSTokenizer;
namespace detail {
class AppliedValueStore;
class KeptRules;
}

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
    // declaration. Its objects refer to the sheet's tokens.
    std::unique_ptr<CSSCompoundSelector> ParseRule();

    // The sheet's declarations whose selector matches the element, copied
    // into `out` (emptied first) in the cascade's order: normal ones before
    // "!important" ones, each part by specificity, then in sheet order.
    void CollectMatching(const SelectorElements& elements, SelectorElements::Handle element,
                         Vector<CSSDeclaration>& out) const;
    // The same declarations as the cascade applies them, their values in
    // the order of `out` (emptied first), each marked with the first value
    // of its declaration. The values are the sheet's and last as long as
    // it; the rules' objects are not made for them.
    void CollectMatchingValues(const SelectorElements& elements, SelectorElements::Handle element,
                               std::vector<CSSAppliedDeclaration>& out) const;
    // The same for one element without parent or siblings that the
    // descriptions stand for (the first one's name and id, each one's class
    // word).
    void CollectDeclarations(const Vector<CSSSimpleSelectorDesc>& descriptions, Vector<CSSDeclaration>& out) const;

    // Every rule, each made now if it was not yet.
    const Vector<CSSCompoundSelector>& Rules() const;
    // The declarations of every rule in sheet order: one per selector and
    // value, as CSSCompoundSelector::AppendDeclarations gives them.
    const Vector<CSSDeclaration>& Declarations() const;
    const Vector<CSSToken>& Tokens() const { return tokens_; }
    CSSTokenSource& Cursor() { return cursor_; }
    const CSSDictionary& Dictionary() const { return css_; }

  private:
    // What the reader takes of one rule: the prelude as the selectors are
    // read from it, the selectors, the declarations, and the block's text
    // as written, from after its "{" through the "}" that closes it.
    struct RuleRead {
        std::string prelude;
        std::vector<ParsedSelector> selectors;
        Vector<CSSProperty> block;
        std::string blockText;
    };
    // One rule at the cursor; false when it has no selector or no
    // declaration.
    bool ReadRule(RuleRead& read);
    // A rule of that many selectors, still empty, and copies of the
    // properties.
    std::unique_ptr<CSSCompoundSelector> BuildRule(std::uint32_t selectors,
                                                   const Vector<CSSProperty>& block) const;
    // The rule's objects, made from its kept texts when first asked for.
    CSSCompoundSelector& Made(std::uint32_t rule) const;
    // The rule's values, read from its kept block when first asked for.
    const CSSAppliedValue* MadeValues(std::uint32_t rule) const;
    // The properties of the rule's kept block, which refer to the tokens.
    void ReadKeptBlock(std::uint32_t rule, CSSList<CSSToken>& tokens, Vector<CSSProperty>& properties) const;
    // Calls `take` with the index of each selector of the sheet that
    // matches the element and its kept form.
    template <class Take>
    void EachMatch(const SelectorElements& elements, SelectorElements::Handle element, Take&& take) const;
    // Sorts the matches into the cascade's order.
    void SortMatches() const;
    CSSTokenizer& Tokenizer() const;
    void AddPiece(const String& text, std::uint8_t origin, std::int32_t position);
    void Rebuild();
    void CloseEmptySlots(std::uint32_t from);

    const CSSDictionary& css_;
    CSSList<CSSToken> tokens_;
    CSSTokenSource cursor_;
    std::unique_ptr<detail::KeptRules> kept_;
    std::unique_ptr<detail::AppliedValueStore> applied_;
    // A slot for every rule, empty until the rule is made.
    mutable CSSList<CSSCompoundSelector> rules_;
    // The values of the made rules, each rule's side by side in their
    // order, as the matcher takes them; and for each selector of a made
    // rule its object, where its rule's values are, and the place of its
    // first declaration among the sheet's (null and none before the rule
    // is made).
    struct MadeValue {
        CSSProperty* property;
        CSSValue* value;
        std::uint32_t important;
    };
    struct MadeSelector {
        CSSContextualSelector* selector = nullptr;
        std::uint32_t firstValue = 0;
        std::uint32_t valueCount = 0;
        std::uint32_t firstPlace = 0;
    };
    mutable std::vector<MadeValue> madeValues_;
    mutable std::vector<MadeSelector> madeSelectors_;
    // Made for the first Declarations(), of this many rules.
    mutable CSSList<CSSDeclaration> declarations_;
    mutable std::uint32_t declaredRules_ = 0;
    mutable std::unique_ptr<CSSTokenizer> tokenizer_;
    // Every token before this index is used (a rebuild starts there).
    std::uint32_t firstUnused_ = 0;
    // A declaration an element matches.
    struct Match {
        CSSContextualSelector* selector;
        CSSProperty* property;
        CSSValue* value;
    };
    // Reused by each match, so that matching an element allocates nothing
    // once they have grown.
    struct Scratch {
        std::string id;
        std::string classes;
        std::string value;
        // The heads of the index lists that hold candidates.
        std::vector<std::uint32_t> lists;
        std::vector<Match> matched;
        std::vector<CSSAppliedDeclaration> matchedValues;
        // The cascade order of each match (normal before important, then
        // specificity), and its place among the sheet's declarations above
        // its index in `matched` (or `matchedValues`): sorted, the order of
        // the declarations.
        std::vector<std::pair<std::uint64_t, std::uint64_t>> order;
    };
    mutable Scratch scratch_;
};

}  // namespace markup::style

// KeptRules: what a style sheet keeps of each rule it has read, in flat
// arrays: the rule's texts (its prelude as the selectors were read from it
// and its declaration block as written), its selectors in the kept form
// the matcher reads, and the index that finds them by key.
//
// A rule's object tree (CSSCompoundSelector, its properties, values and
// their typed attributes, some 1,600 bytes for a rule of 80) is not kept:
// the sheet makes it again from these texts when a rule is first asked
// for. What is kept costs some three and a half bytes a byte of CSS.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "markup/style/css_selector_match.h"
#include "css_kept_selector.h"
#include "css_selector_index.h"
#include "css_text_store.h"

namespace markup::style::detail {

struct KeptRule {
    // The prelude, the block's text (from after its "{" through its "}",
    // when one closes it), then the names its selectors' steps test.
    const char* text;
    std::uint32_t preludeLength;
    std::uint32_t blockLength;
    std::uint32_t firstSelector;
    // The place of the rule's first declaration among the sheet's, in the
    // order CSSCompoundSelector::AppendDeclarations gives them.
    std::uint32_t firstDeclaration;
};

struct KeptSelector {
    // Steps are kept only for the selectors the matcher reads: none for
    // one that is its key alone (".a", "#b", "rect"), whose finding under
    // the element's key is the match, nor for one that matches nothing,
    // which is filed nowhere.
    std::uint32_t firstStep;
    std::uint32_t stepCount;
    std::uint32_t specificity;
    // Into the filters, kNoFilter when it needs no key on an ancestor.
    std::uint32_t filter;
    std::uint32_t rule;
};

class KeptRules {
  public:
    static constexpr std::uint32_t kNoFilter = 0xFFFFFFFFu;
    static constexpr std::uint32_t kNone = SelectorIndex::kNone;

    // Keeps a rule whose selectors were read from the prelude and whose
    // block, of that text, gives each selector that many declarations.
    // Each selector is filed by the rarest key it needs: an id of its last
    // step, else an id some ancestor must have, else a class of the last
    // step, else a class of an ancestor, else the last step's type (folded
    // to lower case), else with the universal ones. A selector with a
    // pseudo-class the engine does not evaluate matches nothing and is
    // filed nowhere.
    void Add(std::string_view prelude, std::string_view block, const std::vector<ParsedSelector>& selectors,
             std::uint32_t declarationsPerSelector);

    std::uint32_t RuleCount() const { return static_cast<std::uint32_t>(rules_.size()); }
    const KeptRule& Rule(std::uint32_t rule) const { return rules_[rule]; }
    std::string_view Prelude(std::uint32_t rule) const;
    std::string_view Block(std::uint32_t rule) const;
    std::uint32_t SelectorCount(std::uint32_t rule) const;
    // The declarations each selector of the rule gives.
    std::uint32_t DeclarationsPerSelector(std::uint32_t rule) const;
    // The sheet's declarations so far.
    std::uint32_t DeclarationCount() const { return declarations_; }

    const KeptSelector& Selector(std::uint32_t selector) const { return selectors_[selector]; }
    KeptSelectorView View(const KeptSelector& selector) const;
    const AncestorFilter& Filter(std::uint32_t filter) const { return filters_[filter]; }

    // The lists of selectors (SelectorIndex heads), and the entries that
    // link them.
    const SelectorIndex& ById() const { return byId_; }
    const SelectorIndex& ByClass() const { return byClass_; }
    const SelectorIndex& ByType() const { return byType_; }
    const SelectorIndex& ByAncestorId() const { return byAncestorId_; }
    const SelectorIndex& ByAncestorClass() const { return byAncestorClass_; }
    std::uint32_t Universal() const { return universal_; }
    const SelectorIndex::Entry& Entry(std::uint32_t entry) const { return entries_[entry]; }

  private:
    TextStore text_;
    std::vector<KeptRule> rules_;
    std::vector<KeptSelector> selectors_;
    std::vector<KeptStep> steps_;
    std::vector<KeptCondition> conditions_;
    std::vector<AncestorFilter> filters_;
    std::uint32_t declarations_ = 0;
    SelectorIndex byId_;
    SelectorIndex byClass_;
    SelectorIndex byType_;
    SelectorIndex byAncestorId_;
    SelectorIndex byAncestorClass_;
    std::uint32_t universal_ = kNone;
    SelectorIndex::Entries entries_;
};

}  // namespace markup::style::detail

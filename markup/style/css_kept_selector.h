// The form in which a style sheet keeps a selector for matching: its steps
// and their conditions in flat arrays that all the sheet's selectors share,
// the names in the kept text of the selector's rule. A ParsedSelector costs
// some 300 bytes in vectors and strings; this form 16 bytes a condition
// and 12 a step.
#pragma once

#include <cstdint>
#include <string_view>

#include "markup/style/css_selector_match.h"

namespace markup::style::detail {

struct KeptCondition {
    // Where the name lies in the rule's text; an attribute test's value
    // follows it.
    std::uint32_t name;
    std::uint32_t nameLength;
    std::uint32_t valueLength;
    SelectorTest test;
};

struct KeptStep {
    std::uint32_t firstCondition;
    std::uint32_t conditionCount;  // none: the universal selector
    char combinator;               // as SelectorStep has it
};

// One kept selector as the matcher reads it.
struct KeptSelectorView {
    const KeptStep* steps;  // its first step, left to right
    std::uint32_t stepCount;
    const KeptCondition* conditions;  // the sheet's whole array
    const char* text;                 // the rule's text
};

// MatchesSelector for a kept selector.
bool MatchesKeptSelector(const KeptSelectorView& selector, const SelectorElements& elements,
                         SelectorElements::Handle element, const ElementFacts& facts);

}  // namespace markup::style::detail

// AppliedValueStore: the values of a style sheet's rules as the cascade
// applies them, kept for each rule once it is first matched. A rule's
// values lie side by side in pieces that never move, and their texts in a
// text store, so that a value costs its 32 bytes and its text: a rule's
// objects, which the cascade does not need, cost ten times that.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "markup/containers.h"
#include "markup/style/css_applied_value.h"
#include "markup/style/css_element.h"
#include "css_text_store.h"

namespace markup::style::detail {

class AppliedValueStore {
  public:
    // The first value of the rule's declarations, in their order; null
    // until the rule's values are kept.
    const CSSAppliedValue* Of(std::uint32_t rule) const {
        return rule < rules_.size() ? rules_[rule] : nullptr;
    }
    // The values of the rule's properties with copies of their texts, kept
    // as the rule's, the first of each property marked kFirst. Raises
    // MemoryAllocationFault.
    const CSSAppliedValue* Keep(std::uint32_t rule, const Vector<CSSProperty>& properties);

  private:
    std::vector<std::unique_ptr<CSSAppliedValue[]>> pieces_;
    CSSAppliedValue* free_ = nullptr;
    std::size_t room_ = 0;
    TextStore texts_;
    std::vector<const CSSAppliedValue*> rules_;
};

}  // namespace markup::style::detail

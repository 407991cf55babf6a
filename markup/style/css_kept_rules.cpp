// KeptRules: a read rule into the flat arrays, and its selectors filed.
#include "css_kept_rules.h"

#include <string>

#include "markup/faults.h"

namespace markup::style::detail {

namespace {

// The first id (else, with `classes`, class) condition of a step that some
// ancestor of the element must match: the steps left of the last one
// reached through descendant and child combinators only.
const SelectorCondition* AncestorCondition(const ParsedSelector& parsed, bool classes) {
    const SelectorTest wanted = classes ? SelectorTest::kClass : SelectorTest::kId;
    for (std::size_t i = parsed.steps.size(); i-- > 1;) {
        if (parsed.steps[i].combinator != ' ' && parsed.steps[i].combinator != '>') break;
        for (const SelectorCondition& c : parsed.steps[i - 1].conditions) {
            if (c.test == wanted) return &c;
        }
    }
    return nullptr;
}

bool IsKeyOnly(const ParsedSelector& parsed) {
    if (parsed.keyKind == SelectorKeyKind::kUniversal || parsed.steps.size() != 1 ||
        parsed.steps[0].conditions.size() != 1) {
        return false;
    }
    const SelectorTest test = parsed.steps[0].conditions[0].test;
    return test == SelectorTest::kId || test == SelectorTest::kClass || test == SelectorTest::kType;
}

std::uint32_t Count(std::size_t n) {
    if (n > 0xFFFFFFFFu) throw MemoryAllocationFault();
    return static_cast<std::uint32_t>(n);
}

}  // namespace

void KeptRules::Add(std::string_view prelude, std::string_view block,
                    const std::vector<ParsedSelector>& selectors, std::uint32_t declarationsPerSelector) {
    std::string text;
    text.reserve(prelude.size() + block.size());
    text.append(prelude);
    text.append(block);
    // Names go into the text at offsets from its start, which the text
    // store fixes only once the text is whole.
    const auto append = [&](std::string_view bytes) {
        const std::uint32_t at = Count(text.size());
        text.append(bytes);
        return at;
    };
    // Most names stand in the prelude as written, in their order: each is
    // looked for a little way on from where the one before it was found,
    // and added only when it is not there (an escape, a type folded to
    // lower case).
    std::size_t near = 0;
    const auto place = [&](std::string_view name) {
        const std::size_t at = prelude.substr(near, name.size() * 3 + 64).find(name);
        if (at == std::string_view::npos) return append(name);
        near += at;
        return Count(near);
    };
    // Where each selector is filed: an index, or the universal list.
    struct Filing {
        SelectorIndex* index;
        bool universal;
        std::uint32_t key;
        std::uint32_t length;
    };
    std::vector<Filing> filings;
    filings.reserve(selectors.size());
    const std::uint32_t rule = Count(rules_.size());
    const std::uint32_t firstSelector = Count(selectors_.size());
    for (const ParsedSelector& parsed : selectors) {
        KeptSelector kept{Count(steps_.size()), 0, parsed.specificity, kNoFilter, rule};
        Filing filing{nullptr, false, 0, 0};
        if (!parsed.Never()) {
            if (!parsed.ancestorKeys.empty()) {
                AncestorFilter need;
                for (const std::uint64_t key : parsed.ancestorKeys) need.Add(key);
                kept.filter = Count(filters_.size());
                filters_.push_back(need);
            }
            if (!IsKeyOnly(parsed)) {
                kept.stepCount = Count(parsed.steps.size());
                for (const SelectorStep& step : parsed.steps) {
                    steps_.push_back(
                        KeptStep{Count(conditions_.size()), Count(step.conditions.size()), step.combinator});
                    for (const SelectorCondition& c : step.conditions) {
                        // An attribute test's value follows its name.
                        const std::uint32_t name = c.value.empty() ? place(c.name) : append(c.name);
                        append(c.value);
                        conditions_.push_back(
                            KeptCondition{name, Count(c.name.size()), Count(c.value.size()), c.test});
                    }
                }
            }
            std::string_view key;
            const SelectorCondition* c = nullptr;
            const bool notById = parsed.keyKind != SelectorKeyKind::kId;
            if (notById && (c = AncestorCondition(parsed, false))) {
                filing.index = &byAncestorId_;
                key = c->name;
            } else if (notById && parsed.keyKind != SelectorKeyKind::kClass &&
                       (c = AncestorCondition(parsed, true))) {
                filing.index = &byAncestorClass_;
                key = c->name;
            } else {
                switch (parsed.keyKind) {
                    case SelectorKeyKind::kId: filing.index = &byId_; break;
                    case SelectorKeyKind::kClass: filing.index = &byClass_; break;
                    case SelectorKeyKind::kType: filing.index = &byType_; break;
                    case SelectorKeyKind::kUniversal: filing.universal = true; break;
                }
                key = parsed.key;
            }
            if (filing.index) {
                filing.key = place(key);
                filing.length = Count(key.size());
            }
        }
        selectors_.push_back(kept);
        filings.push_back(filing);
    }
    const std::uint64_t declarations =
        declarations_ + static_cast<std::uint64_t>(selectors.size()) * declarationsPerSelector;
    const char* kept = text_.Keep(text);
    rules_.push_back(
        KeptRule{kept, Count(prelude.size()), Count(block.size()), firstSelector, declarations_});
    declarations_ = Count(declarations);
    for (std::uint32_t i = 0; i < filings.size(); ++i) {
        const Filing& filing = filings[i];
        if (filing.index) {
            filing.index->File(std::string_view(kept + filing.key, filing.length), firstSelector + i,
                               entries_);
        } else if (filing.universal) {
            entries_.push_back(SelectorIndex::Entry{firstSelector + i, universal_});
            universal_ = Count(entries_.size() - 1);
        }
    }
}

std::string_view KeptRules::Prelude(std::uint32_t rule) const {
    const KeptRule& r = rules_[rule];
    return std::string_view(r.text, r.preludeLength);
}

std::string_view KeptRules::Block(std::uint32_t rule) const {
    const KeptRule& r = rules_[rule];
    return std::string_view(r.text + r.preludeLength, r.blockLength);
}

std::uint32_t KeptRules::SelectorCount(std::uint32_t rule) const {
    const bool last = rule + 1 == rules_.size();
    return (last ? Count(selectors_.size()) : rules_[rule + 1].firstSelector) - rules_[rule].firstSelector;
}

std::uint32_t KeptRules::DeclarationsPerSelector(std::uint32_t rule) const {
    const bool last = rule + 1 == rules_.size();
    const std::uint32_t declarations =
        (last ? declarations_ : rules_[rule + 1].firstDeclaration) - rules_[rule].firstDeclaration;
    const std::uint32_t selectors = SelectorCount(rule);
    return selectors ? declarations / selectors : 0;
}

KeptSelectorView KeptRules::View(const KeptSelector& selector) const {
    return KeptSelectorView{steps_.data() + selector.firstStep, selector.stepCount, conditions_.data(),
                            rules_[selector.rule].text};
}

}  // namespace markup::style::detail

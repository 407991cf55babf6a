// CSSStyleSheet: adding texts, parsing their rules, the declaration list
// and the declarations that apply to one element.
#include "markup/style/css_style_sheet.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "markup/style/css_tokenizer.h"
#include "platform/latin1_text.h"
#include "style_heap.h"

namespace markup::style {

CSSStyleSheet::CSSStyleSheet(const CSSDictionary& css) : css_(css), cursor_(&tokens_, false) {}

CSSStyleSheet::~CSSStyleSheet() = default;

namespace {

bool KeepsPlace(std::uint32_t type) {
    return type == kCSSEnd || type == kCSSCommentClose || type == kCSSOther;
}

}  // namespace

void CSSStyleSheet::AddText(const String& text, std::uint8_t origin, std::int32_t position) {
    CSSTokenizer tokenizer;
    if (tokens_.Count() == 0) {
        tokenizer.Tokenize(text, origin, tokens_);
    } else {
        Vector<CSSToken> fresh;
        tokenizer.Tokenize(text, origin, fresh);
        fresh.DeleteLast();  // the list keeps its own end token
        const std::uint32_t endIndex = tokens_.Count() - 1;
        std::uint32_t index = endIndex;
        if (position < 0) {
            for (std::uint32_t i = tokens_.Count(); i-- > 0;) {
                if (!KeepsPlace(tokens_.At(i)->Type())) {
                    index = i;
                    break;
                }
            }
        } else if (static_cast<std::uint32_t>(position) < endIndex) {
            index = static_cast<std::uint32_t>(position);
        }
        tokens_.TakeAll(index, fresh);
        if (index < firstUnused_) firstUnused_ = index;
    }
    Rebuild();
}

void CSSStyleSheet::Rebuild() {
    if (tokens_.Count() == 0) return;
    // The tokens before the first unused one are all marked, so the first
    // significant token is at or after it.
    cursor_.Seek(firstUnused_);
    // "@import" rules are skipped, only where the new text begins.
    while (cursor_.CurrentType() == kCSSImportRule) cursor_.ConsumeThrough(kCSSSemicolon);
    for (;;) {
        CSSToken* token = cursor_.CurrentSignificant();
        if (!token) break;
        if (token->Type() == kCSSEnd) {
            for (std::uint32_t i = firstUnused_; i < cursor_.Position(); ++i) tokens_.At(i)->SetConsumed(true);
            firstUnused_ = cursor_.Position();
            // An end character inside a text ends nothing but its rule:
            // left unmarked it would stop every later rebuild there.
            if (cursor_.Position() + 1 < tokens_.Count()) {
                token->SetConsumed(true);
                continue;
            }
            break;
        }
        if (std::unique_ptr<CSSCompoundSelector> rule = ParseRule()) detail::Adopt(rules_, std::move(rule));
        cursor_.ConsumeThrough(kCSSBlockClose);
    }
    RebuildDeclarations();
}

// The list holds, in rule order, the declarations of every rule; earlier
// rules never change, so only the new rules' declarations are added.
void CSSStyleSheet::RebuildDeclarations() {
    for (; declaredRules_ < rules_.Count(); ++declaredRules_) rules_.At(declaredRules_)->AppendDeclarations(declarations_);
    IndexDeclarations();
}

namespace {

// A class text as a key under which texts lstrcmpiA calls equal are equal:
// up to its first NUL, folded as that comparison folds.
std::string ClassKey(const String& text) {
    std::string key(text.Text() ? text.Text() : "");
    for (char& c : key) c = static_cast<char>(platform::Latin1Lower(static_cast<unsigned char>(c)));
    return key;
}

}  // namespace

void CSSStyleSheet::IndexDeclarations() {
    for (; indexed_ < declarations_.Count(); ++indexed_) {
        const CSSContextualSelector* selector = declarations_.At(indexed_)->Selector();
        // Only a selector of one simple selector ever applies.
        if (!selector || selector->Count() != 1) continue;
        const CSSToken* classToken = selector->At(0)->Class();
        if (classToken) {
            byClass_[ClassKey(classToken->Text())].push_back(indexed_);
        } else {
            withoutClass_.push_back(indexed_);
        }
    }
}

namespace {

// The sort key: specificity, then the important mark.
std::uint64_t SortKey(const CSSDeclaration& declaration) {
    const std::uint64_t specificity = declaration.Selector() ? declaration.Selector()->Specificity() : 0;
    const bool important = declaration.Value() && declaration.Value()->Important();
    return specificity * 2 + (important ? 1 : 0);
}

// Stable, so that declarations of equal keys keep the sheet's order, and
// the values of one declaration stay in theirs. The list's own slots are
// swapped into place, so nothing is removed and re-added.
void SortDeclarations(Vector<CSSDeclaration>& list) {
    const std::uint32_t n = list.Count();
    if (n < 2) return;
    std::vector<std::uint64_t> keys(n);
    for (std::uint32_t i = 0; i < n; ++i) keys[i] = SortKey(*list.At(i));
    std::vector<std::uint32_t> order(n);
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
    // where[e]: the slot element e stands in now; at[s]: the element in slot s.
    std::vector<std::uint32_t> where(n), at(n);
    std::iota(where.begin(), where.end(), 0u);
    std::iota(at.begin(), at.end(), 0u);
    for (std::uint32_t slot = 0; slot < n; ++slot) {
        const std::uint32_t wanted = order[slot];
        const std::uint32_t from = where[wanted];
        if (from == slot) continue;
        list.Swap(slot, from);
        const std::uint32_t displaced = at[slot];
        at[slot] = wanted;
        at[from] = displaced;
        where[wanted] = slot;
        where[displaced] = from;
    }
}

// The property ids for which a selector must name something the element
// has: the sizes and the position.
bool NeedsPositiveMatch(std::uint32_t propertyId) {
    return propertyId >= 46 && propertyId <= 52;
}

}  // namespace

void CSSStyleSheet::CollectDeclarations(const Vector<CSSSimpleSelectorDesc>& descriptions,
                                        Vector<CSSDeclaration>& out) const {
    while (out.Count()) out.DeleteLast();
    // The candidates: the lists of the descriptions' classes, each once,
    // merged into sheet order.
    std::vector<const std::vector<std::uint32_t>*> lists;
    for (std::uint32_t d = 0; d < descriptions.Count(); ++d) {
        const CSSSimpleSelectorDesc* description = descriptions.At(d);
        if (!description) continue;
        const std::vector<std::uint32_t>* list = &withoutClass_;
        if (description->HasClass()) {
            const auto hit = byClass_.find(ClassKey(description->Class()));
            if (hit == byClass_.end()) continue;
            list = &hit->second;
        }
        if (std::find(lists.begin(), lists.end(), list) == lists.end()) lists.push_back(list);
    }
    std::vector<std::uint32_t> merged;
    const std::vector<std::uint32_t>* candidates = lists.empty() ? &merged : lists.front();
    if (lists.size() > 1) {
        for (const std::vector<std::uint32_t>* list : lists) merged.insert(merged.end(), list->begin(), list->end());
        std::sort(merged.begin(), merged.end());
        candidates = &merged;
    }
    for (const std::uint32_t i : *candidates) {
        const CSSDeclaration& declaration = *declarations_.At(i);
        const CSSSimpleSelector& simple = *declaration.Selector()->At(0);
        const CSSSimpleSelectorDesc* found = nullptr;
        for (std::uint32_t d = 0; d < descriptions.Count() && !found; ++d) {
            const CSSSimpleSelectorDesc* description = descriptions.At(d);
            if (description && MatchesCSSDescription(simple, *description, false)) found = description;
        }
        if (!found) continue;
        if (MatchesCSSDescription(simple, *found, NeedsPositiveMatch(declaration.Property()->Id()))) {
            ReserveSlots(out, 1);
            out.Add(declaration);
        }
    }
    SortDeclarations(out);
}

}  // namespace markup::style

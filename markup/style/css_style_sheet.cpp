// CSSStyleSheet: adding texts, parsing their rules, the declaration list
// and the declarations that apply to one element.
#include "markup/style/css_style_sheet.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "markup/style/css_tokenizer.h"
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
        // A rule may start with a token the cursor passes over ("*", "["),
        // so the start is found here: the next token that is neither used
        // nor a blank.
        std::uint32_t start = cursor_.Position();
        while (start > 0 && start <= tokens_.Count() && !tokens_.At(start - 1)->Consumed()) --start;
        while (start < tokens_.Count() &&
               (tokens_.At(start)->Consumed() || IsBlankTokenType(tokens_.At(start)->Type()))) {
            ++start;
        }
        cursor_.SetPosition(start);
        CSSToken* token = start < tokens_.Count() ? tokens_.At(start) : nullptr;
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

void CSSStyleSheet::IndexDeclarations() {
    for (; indexed_ < declarations_.Count(); ++indexed_) {
        const CSSContextualSelector* selector = declarations_.At(indexed_)->Selector();
        const ParsedSelector* parsed = selector ? selector->Parsed() : nullptr;
        // A selector with a pseudo-class the engine does not evaluate
        // matches nothing, so it is filed nowhere.
        if (!parsed || parsed->Never()) continue;
        switch (parsed->keyKind) {
            case SelectorKeyKind::kId: byId_[parsed->key].push_back(indexed_); break;
            case SelectorKeyKind::kClass: byClass_[parsed->key].push_back(indexed_); break;
            case SelectorKeyKind::kType: byType_[parsed->key].push_back(indexed_); break;
            case SelectorKeyKind::kUniversal: universal_.push_back(indexed_); break;
        }
    }
}

namespace {

// The cascade's order among a sheet's declarations: normal before
// important, then specificity, then sheet order (the stable sort keeps it).
std::uint64_t SortKey(const CSSDeclaration& declaration) {
    const std::uint64_t specificity = declaration.Selector() ? declaration.Selector()->Specificity() : 0;
    const bool important = declaration.Value() && declaration.Value()->Important();
    return (important ? (std::uint64_t{1} << 32) : 0) + specificity;
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

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// One element that descriptions stand for: the first one's name and id,
// every one's class word. It has no parent and no siblings.
class DescribedElement : public SelectorElements {
  public:
    explicit DescribedElement(const Vector<CSSSimpleSelectorDesc>& descriptions) {
        for (std::uint32_t d = 0; d < descriptions.Count(); ++d) {
            const CSSSimpleSelectorDesc* description = descriptions.At(d);
            if (!description) continue;
            if (!first_) first_ = description;
            if (description->HasClass()) {
                const String& word = description->Class();
                const char* text = word.Text();
                const std::uint32_t skip = text[0] == '.' ? 1 : 0;
                if (!classes_.empty()) classes_ += ' ';
                classes_.append(text + skip, word.Length() - skip);
            }
        }
    }
    bool Empty() const { return first_ == nullptr; }
    Handle Parent(Handle) const override { return nullptr; }
    Handle PreviousSibling(Handle) const override { return nullptr; }
    std::string_view Name(Handle) const override { return {first_->Name().Text(), first_->Name().Length()}; }
    bool Attribute(Handle element, std::string_view name, std::string& value) const override {
        if (FoldedName(name) == "id") return Id(element, value);
        if (FoldedName(name) == "class") return Classes(element, value);
        return false;
    }
    bool Id(Handle, std::string& value) const override {
        if (!first_->HasId()) return false;
        value = Str(first_->Id());
        if (!value.empty() && value[0] == '#') value.erase(0, 1);
        return true;
    }
    bool Classes(Handle, std::string& value) const override {
        value = classes_;
        return !classes_.empty();
    }

  private:
    static std::string Str(const String& text) { return std::string(text.Text(), text.Length()); }
    const CSSSimpleSelectorDesc* first_ = nullptr;
    std::string classes_;
};

}  // namespace

void CSSStyleSheet::CollectDeclarations(const Vector<CSSSimpleSelectorDesc>& descriptions,
                                        Vector<CSSDeclaration>& out) const {
    while (out.Count()) out.DeleteLast();
    const DescribedElement element(descriptions);
    if (element.Empty()) return;
    CollectMatching(element, &element, out);
}

void CSSStyleSheet::CollectMatching(const SelectorElements& elements, SelectorElements::Handle element,
                                    Vector<CSSDeclaration>& out) const {
    while (out.Count()) out.DeleteLast();
    if (!element || declarations_.Count() == 0) return;
    // The candidates: the lists under the element's id, each of its
    // classes and its type, and the universal one, merged into sheet order.
    std::vector<const std::vector<std::uint32_t>*> lists;
    auto take = [&](const std::unordered_map<std::string, std::vector<std::uint32_t>>& index, const std::string& key) {
        const auto hit = index.find(key);
        if (hit != index.end() && std::find(lists.begin(), lists.end(), &hit->second) == lists.end())
            lists.push_back(&hit->second);
    };
    std::string value;
    if (!byId_.empty() && elements.Id(element, value)) take(byId_, value);
    if (!byClass_.empty() && elements.Classes(element, value)) {
        std::size_t i = 0;
        while (i < value.size()) {
            while (i < value.size() && IsBlank(value[i])) ++i;
            std::size_t end = i;
            while (end < value.size() && !IsBlank(value[end])) ++end;
            if (end > i) take(byClass_, value.substr(i, end - i));
            i = end;
        }
    }
    if (!byType_.empty()) take(byType_, FoldedName(elements.Name(element)));
    if (!universal_.empty()) lists.push_back(&universal_);
    if (lists.empty()) return;
    // Each declaration is filed under one key, so the lists never share
    // one: the matches of each are gathered, and only they are put back
    // into sheet order. Declarations of one selector sit side by side, so
    // the match is asked again only when the selector changes.
    // The keys of every ancestor, so that a selector that needs one no
    // ancestor has is passed over without a walk up the tree.
    std::vector<std::uint64_t> ancestors;
    for (SelectorElements::Handle at = elements.Parent(element); at; at = elements.Parent(at)) {
        ancestors.push_back(AncestorKey(' ', elements.Name(at)));
        if (elements.Id(at, value)) ancestors.push_back(AncestorKey('#', value));
        if (elements.Classes(at, value)) {
            std::size_t i = 0;
            while (i < value.size()) {
                while (i < value.size() && IsBlank(value[i])) ++i;
                std::size_t end = i;
                while (end < value.size() && !IsBlank(value[end])) ++end;
                if (end > i) ancestors.push_back(AncestorKey('.', std::string_view(value).substr(i, end - i)));
                i = end;
            }
        }
    }
    std::sort(ancestors.begin(), ancestors.end());
    const auto hasAncestors = [&](const ParsedSelector& selector) {
        for (const std::uint64_t key : selector.ancestorKeys) {
            if (!std::binary_search(ancestors.begin(), ancestors.end(), key)) return false;
        }
        return true;
    };
    std::vector<std::uint32_t> matched;
    for (const std::vector<std::uint32_t>* list : lists) {
        const CSSContextualSelector* last = nullptr;
        bool lastMatched = false;
        for (const std::uint32_t i : *list) {
            const CSSContextualSelector* selector = declarations_.At(i)->Selector();
            if (selector != last) {
                last = selector;
                lastMatched = hasAncestors(*last->Parsed()) && MatchesSelector(*last->Parsed(), elements, element);
            }
            if (lastMatched) matched.push_back(i);
        }
    }
    std::sort(matched.begin(), matched.end());
    ReserveSlots(out, static_cast<std::uint32_t>(matched.size()));
    for (const std::uint32_t i : matched) out.Add(*declarations_.At(i));
    SortDeclarations(out);
}

}  // namespace markup::style

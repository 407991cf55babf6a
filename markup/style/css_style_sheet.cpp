// CSSStyleSheet: adding texts, parsing their rules, the declaration list
// and the declarations that apply to one element.
#include "markup/style/css_style_sheet.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "markup/style/css_text_cuts.h"
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
    // A long text is scanned and parsed a piece at a time, cut where the
    // pieces give the whole text's tokens, so that its tokens are never
    // all held at once.
    constexpr std::uint32_t kPiece = 64 * 1024;
    if (position < 0 && text.Length() >= 2 * kPiece) {
        const std::vector<std::uint32_t> cuts = CSSTextCuts(std::string_view(text.Text(), text.Length()), kPiece);
        if (!cuts.empty()) {
            std::uint32_t start = 0;
            for (const std::uint32_t cut : cuts) {
                AddPiece(text.Mid(start, cut - start), origin, -1);
                start = cut;
            }
            AddPiece(text.Mid(start, text.Length() - start), origin, -1);
            return;
        }
    }
    AddPiece(text, origin, position);
}

void CSSStyleSheet::AddPiece(const String& text, std::uint8_t origin, std::int32_t position) {
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

// A rule keeps its declarations' texts, not their tokens, so every used
// token is let go as the parse passes it: its slot is left empty (null)
// behind the cursor and closed at the end, and a sheet holds no more than
// the tokens of the piece of text being read.
void CSSStyleSheet::Rebuild() {
    if (tokens_.Count() == 0) return;
    const std::uint32_t from = firstUnused_;
    // Tokens before this index have been let go or kept.
    std::uint32_t released = from;
    const auto release = [&](std::uint32_t end) {
        for (; released < end && released < tokens_.Count(); ++released) {
            CSSToken* token = tokens_.At(released);
            if (token && token->Consumed()) {
                delete token;
                tokens_.SetItemAt(released, nullptr);
            }
        }
    };
    // An empty slot is a used token.
    const auto used = [&](std::uint32_t i) {
        const CSSToken* token = tokens_.At(i);
        return !token || token->Consumed();
    };
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
        while (start > 0 && start <= tokens_.Count() && !used(start - 1)) --start;
        while (start < tokens_.Count() && (used(start) || IsBlankTokenType(tokens_.At(start)->Type()))) ++start;
        cursor_.SetPosition(start);
        CSSToken* token = start < tokens_.Count() ? tokens_.At(start) : nullptr;
        if (!token) break;
        if (token->Type() == kCSSEnd) {
            for (std::uint32_t i = firstUnused_; i < cursor_.Position(); ++i) {
                if (CSSToken* before = tokens_.At(i)) before->SetConsumed(true);
            }
            firstUnused_ = cursor_.Position();
            // An end character inside a text ends nothing but its rule:
            // left unmarked it would stop every later rebuild there.
            if (cursor_.Position() + 1 < tokens_.Count()) {
                token->SetConsumed(true);
                release(cursor_.Position() + 1);
                continue;
            }
            break;
        }
        if (std::unique_ptr<CSSCompoundSelector> rule = ParseRule()) {
            for (std::uint32_t p = 0; p < rule->PropertyCount(); ++p) rule->PropertyAt(p)->LetGoOfTokens();
            detail::Adopt(rules_, std::move(rule));
        }
        cursor_.ConsumeThrough(kCSSBlockClose);
        release(start);
    }
    release(firstUnused_);
    CloseEmptySlots(from);
    RebuildDeclarations();
}

void CSSStyleSheet::CloseEmptySlots(std::uint32_t from) {
    std::uint32_t to = from;
    for (std::uint32_t i = from; i < firstUnused_; ++i) {
        if (CSSToken* token = tokens_.At(i)) tokens_.SetItemAt(to++, token);
    }
    tokens_.CloseGap(to, firstUnused_);
    firstUnused_ = to;
    cursor_.Seek(firstUnused_);
}

// The list holds, in rule order, the declarations of every rule; earlier
// rules never change, so only the new rules' declarations are added.
void CSSStyleSheet::RebuildDeclarations() {
    for (; declaredRules_ < rules_.Count(); ++declaredRules_) rules_.At(declaredRules_)->AppendDeclarations(declarations_);
    IndexDeclarations();
}

void CSSStyleSheet::File(IndexList& list, std::uint32_t first, std::uint32_t count, const ParsedSelector& parsed) {
    IndexEntry entry{first, count, kNoFilter, 0};
    if (!parsed.ancestorKeys.empty()) {
        AncestorFilter need;
        for (const std::uint64_t key : parsed.ancestorKeys) need.Add(key);
        entry.filter = static_cast<std::uint32_t>(filters_.size());
        filters_.push_back(need);
    }
    if (parsed.keyKind != SelectorKeyKind::kUniversal && parsed.steps.size() == 1 &&
        parsed.steps[0].conditions.size() == 1) {
        const SelectorTest test = parsed.steps[0].conditions[0].test;
        entry.keyOnly = test == SelectorTest::kId || test == SelectorTest::kClass || test == SelectorTest::kType;
    }
    list.push_back(entry);
}

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

}  // namespace

void CSSStyleSheet::IndexDeclarations() {
    while (indexed_ < declarations_.Count()) {
        const std::uint32_t first = indexed_;
        const CSSContextualSelector* selector = declarations_.At(first)->Selector();
        while (indexed_ < declarations_.Count() && declarations_.At(indexed_)->Selector() == selector) ++indexed_;
        const ParsedSelector* parsed = selector ? selector->Parsed() : nullptr;
        // A selector with a pseudo-class the engine does not evaluate
        // matches nothing, so it is filed nowhere.
        if (!parsed || parsed->Never()) continue;
        const std::uint32_t count = indexed_ - first;
        if (parsed->keyKind != SelectorKeyKind::kId) {
            if (const SelectorCondition* c = AncestorCondition(*parsed, false)) {
                File(byAncestorId_[c->name], first, count, *parsed);
                continue;
            }
            if (parsed->keyKind != SelectorKeyKind::kClass) {
                if (const SelectorCondition* c = AncestorCondition(*parsed, true)) {
                    File(byAncestorClass_[c->name], first, count, *parsed);
                    continue;
                }
            }
        }
        switch (parsed->keyKind) {
            case SelectorKeyKind::kId: File(byId_[parsed->key], first, count, *parsed); break;
            case SelectorKeyKind::kClass: File(byClass_[parsed->key], first, count, *parsed); break;
            case SelectorKeyKind::kType: File(byType_[parsed->key], first, count, *parsed); break;
            case SelectorKeyKind::kUniversal: File(universal_, first, count, *parsed); break;
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

namespace {

// Calls `take` with each blank-separated word of the list.
template <class F>
void EachWord(std::string_view list, F&& take) {
    std::size_t i = 0;
    while (i < list.size()) {
        while (i < list.size() && IsBlank(list[i])) ++i;
        std::size_t end = i;
        while (end < list.size() && !IsBlank(list[end])) ++end;
        if (end > i) take(list.substr(i, end - i));
        i = end;
    }
}

}  // namespace

void CSSStyleSheet::CollectMatching(const SelectorElements& elements, SelectorElements::Handle element,
                                    Vector<CSSDeclaration>& out) const {
    while (out.Count()) out.DeleteLast();
    if (!element || declarations_.Count() == 0) return;
    Scratch& s = scratch_;
    s.lists.clear();
    s.matched.clear();
    // The candidates: the lists under the element's id, each of its
    // classes and its type, and the universal one. Each selector is filed
    // under one key, so no two lists share an entry.
    auto take = [&](const Index& index, std::string_view key) {
        const auto hit = index.find(key);
        if (hit != index.end() && std::find(s.lists.begin(), s.lists.end(), &hit->second) == s.lists.end())
            s.lists.push_back(&hit->second);
    };
    ElementFacts facts;
    facts.name = elements.Name(element);
    facts.hasId = elements.Id(element, s.id);
    facts.id = s.id;
    facts.hasClasses = elements.Classes(element, s.classes);
    facts.classes = s.classes;
    if (!byId_.empty() && facts.hasId) take(byId_, facts.id);
    if (!byClass_.empty() && facts.hasClasses) EachWord(facts.classes, [&](std::string_view word) { take(byClass_, word); });
    if (!byType_.empty()) {
        s.value.assign(facts.name);
        for (char& c : s.value) {
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        take(byType_, s.value);
    }
    // The keys of every ancestor: their ids and classes find candidates,
    // and all of them make the filter of what the ancestors have.
    AncestorFilter ancestors;
    const bool ancestorLists = !byAncestorId_.empty() || !byAncestorClass_.empty();
    bool ancestorsRead = false;
    const auto readAncestors = [&] {
        ancestorsRead = true;
        for (SelectorElements::Handle at = elements.Parent(element); at; at = elements.Parent(at)) {
            ancestors.Add(AncestorKey(' ', elements.Name(at)));
            if (elements.Id(at, s.value)) {
                ancestors.Add(AncestorKey('#', s.value));
                if (!byAncestorId_.empty()) take(byAncestorId_, s.value);
            }
            if (elements.Classes(at, s.value)) {
                EachWord(s.value, [&](std::string_view word) {
                    ancestors.Add(AncestorKey('.', word));
                    if (!byAncestorClass_.empty()) take(byAncestorClass_, word);
                });
            }
        }
    };
    if (ancestorLists) readAncestors();
    if (!universal_.empty()) s.lists.push_back(&universal_);
    if (s.lists.empty()) return;
    for (const IndexList* list : s.lists) {
        for (const IndexEntry& entry : *list) {
            if (!entry.keyOnly) {
                if (entry.filter != kNoFilter) {
                    if (!ancestorsRead) readAncestors();
                    if (!ancestors.Covers(filters_[entry.filter])) continue;
                }
                const CSSContextualSelector* selector = declarations_.At(entry.first)->Selector();
                if (!MatchesSelector(*selector->Parsed(), elements, element, facts)) continue;
            }
            for (std::uint32_t i = entry.first; i < entry.first + entry.count; ++i) {
                s.matched.emplace_back(SortKey(*declarations_.At(i)), i);
            }
        }
    }
    // The cascade's order: normal before important, then specificity, then
    // sheet order.
    std::sort(s.matched.begin(), s.matched.end());
    ReserveSlots(out, static_cast<std::uint32_t>(s.matched.size()));
    for (const auto& [key, i] : s.matched) out.Add(*declarations_.At(i));
}

}  // namespace markup::style

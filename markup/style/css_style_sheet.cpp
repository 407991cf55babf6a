// CSSStyleSheet: adding texts, parsing and keeping their rules, making a
// rule's objects, and the declarations that apply to one element.
#include "markup/style/css_style_sheet.h"

#include <algorithm>
#include <vector>

#include "markup/faults.h"
#include "markup/style/css_declarations.h"
#include "markup/style/css_text_cuts.h"
#include "markup/style/css_tokenizer.h"
#include "css_applied_store.h"
#include "css_kept_rules.h"
#include "style_heap.h"

namespace markup::style {

CSSStyleSheet::CSSStyleSheet(const CSSDictionary& css)
    : css_(css),
      cursor_(&tokens_, false),
      kept_(detail::Make<detail::KeptRules>()),
      applied_(detail::Make<detail::AppliedValueStore>()) {}

CSSStyleSheet::~CSSStyleSheet() = default;

namespace {

bool KeepsPlace(std::uint32_t type) {
    return type == kCSSEnd || type == kCSSCommentClose || type == kCSSOther;
}

}  // namespace

void CSSStyleSheet::AddText(const String& text, std::uint8_t origin, std::int32_t position) {
    // A long text is scanned and parsed a piece at a time, cut where the
    // pieces give the whole text's tokens, so that its tokens (some 20
    // bytes a byte of text) are never all held at once.
    constexpr std::uint32_t kPiece = 1024;
    if (position < 0 && text.Length() >= 2 * kPiece) {
        const std::vector<std::uint32_t> cuts = CSSPieceCuts(text, kPiece, Tokenizer());
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
    CSSTokenizer& tokenizer = Tokenizer();
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
        RuleRead read;
        if (ReadRule(read)) {
            std::uint32_t values = 0;
            for (std::uint32_t p = 0; p < read.block.Count(); ++p) values += read.block.At(p)->ValueCount();
            ReserveSlots(rules_, 1);
            kept_->Add(read.prelude, read.blockText, read.selectors, values);
            rules_.ListBase::Add(nullptr);
        }
        cursor_.ConsumeThrough(kCSSBlockClose);
        release(start);
    }
    // Every token before the first unused one is used now, the blanks
    // between rules too, which were marked only when the end was reached:
    // all of them go.
    released = from;
    release(firstUnused_);
    CloseEmptySlots(from);
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

// One scanner serves every text and every rule made: a text leaves it in
// its first state.
CSSTokenizer& CSSStyleSheet::Tokenizer() const {
    if (!tokenizer_) tokenizer_ = detail::Make<CSSTokenizer>();
    return *tokenizer_;
}

// A rule's declarations come from its kept block as the first parse made
// them: the block's text scans to the tokens it was read from.
void CSSStyleSheet::ReadKeptBlock(std::uint32_t rule, CSSList<CSSToken>& tokens,
                                  Vector<CSSProperty>& properties) const {
    const std::string_view block = kept_->Block(rule);
    String text(static_cast<std::uint32_t>(block.size() + 1));
    text.Append(block.data(), static_cast<std::uint32_t>(block.size()));
    Tokenizer().Tokenize(text, 0, tokens);
    CSSTokenSource cursor(&tokens);
    ParseCSSDeclarations(cursor, css_, properties);
    // Read again, a rule gives what it gave when it was read; anything else
    // would put the sheet's declarations out of their order.
    std::uint32_t values = 0;
    for (std::uint32_t p = 0; p < properties.Count(); ++p) values += properties.At(p)->ValueCount();
    if (values != kept_->DeclarationsPerSelector(rule)) throw RuntimeFault();
}

// A rule's objects: its declarations, and its selectors, which are the
// prelude's parts.
CSSCompoundSelector& CSSStyleSheet::Made(std::uint32_t rule) const {
    if (CSSCompoundSelector* made = rules_.At(rule)) return *made;
    // The selectors are parsed only when asked for: the matcher reads their
    // kept form.
    const std::vector<std::string_view> selectors = SplitSelectorGroup(kept_->Prelude(rule));
    CSSList<CSSToken> tokens;
    Vector<CSSProperty> properties;
    ReadKeptBlock(rule, tokens, properties);
    std::unique_ptr<CSSCompoundSelector> made =
        BuildRule(static_cast<std::uint32_t>(selectors.size()), properties);
    for (std::uint32_t i = 0; i < selectors.size(); ++i) made->SelectorAt(i)->SetSource(selectors[i]);
    const std::uint32_t firstValue = static_cast<std::uint32_t>(madeValues_.size());
    for (std::uint32_t p = 0; p < made->PropertyCount(); ++p) {
        CSSProperty* property = made->PropertyAt(p);
        property->LetGoOfTokens();
        for (std::uint32_t v = 0; v < property->ValueCount(); ++v) {
            CSSValue* value = property->ValueAt(v);
            madeValues_.push_back(MadeValue{property, value, value->Important()});
        }
    }
    const std::uint32_t valueCount = static_cast<std::uint32_t>(madeValues_.size()) - firstValue;
    if (made->SelectorCount() != kept_->SelectorCount(rule)) throw RuntimeFault();
    const detail::KeptRule& kept = kept_->Rule(rule);
    const std::uint32_t firstSelector = kept.firstSelector;
    if (madeSelectors_.size() < firstSelector + made->SelectorCount()) {
        madeSelectors_.resize(firstSelector + made->SelectorCount());
    }
    for (std::uint32_t i = 0; i < made->SelectorCount(); ++i) {
        madeSelectors_[firstSelector + i] =
            MadeSelector{made->SelectorAt(i), firstValue, valueCount, kept.firstDeclaration + i * valueCount};
    }
    rules_.SetItemAt(rule, made.release());
    return *rules_.At(rule);
}

const Vector<CSSCompoundSelector>& CSSStyleSheet::Rules() const {
    for (std::uint32_t r = 0; r < rules_.Count(); ++r) Made(r);
    return rules_;
}

const Vector<CSSDeclaration>& CSSStyleSheet::Declarations() const {
    for (; declaredRules_ < rules_.Count(); ++declaredRules_)
        Made(declaredRules_).AppendDeclarations(declarations_);
    return declarations_;
}

namespace {

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

template <class Take>
void CSSStyleSheet::EachMatch(const SelectorElements& elements, SelectorElements::Handle element,
                              Take&& take) const {
    const detail::KeptRules& kept = *kept_;
    constexpr std::uint32_t kNone = detail::KeptRules::kNone;
    Scratch& s = scratch_;
    s.lists.clear();
    // The candidates: the lists under the element's id, each of its
    // classes and its type, and the universal one. Each selector is filed
    // under one key, so no two lists share an entry.
    auto find = [&](const detail::SelectorIndex& index, std::string_view key) {
        const std::uint32_t head = index.Find(key);
        if (head != kNone && std::find(s.lists.begin(), s.lists.end(), head) == s.lists.end())
            s.lists.push_back(head);
    };
    ElementFacts facts;
    facts.name = elements.Name(element);
    facts.hasId = elements.Id(element, s.id);
    facts.id = s.id;
    facts.hasClasses = elements.Classes(element, s.classes);
    facts.classes = s.classes;
    if (!kept.ById().Empty() && facts.hasId) find(kept.ById(), facts.id);
    if (!kept.ByClass().Empty() && facts.hasClasses) {
        EachWord(facts.classes, [&](std::string_view word) { find(kept.ByClass(), word); });
    }
    if (!kept.ByType().Empty()) {
        s.value.assign(facts.name);
        for (char& c : s.value) {
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        find(kept.ByType(), s.value);
    }
    // The keys of every ancestor: their ids and classes find candidates,
    // and all of them make the filter of what the ancestors have.
    AncestorFilter ancestors;
    const bool ancestorLists = !kept.ByAncestorId().Empty() || !kept.ByAncestorClass().Empty();
    bool ancestorsRead = false;
    const auto readAncestors = [&] {
        ancestorsRead = true;
        for (SelectorElements::Handle at = elements.Parent(element); at; at = elements.Parent(at)) {
            ancestors.Add(AncestorKey(' ', elements.Name(at)));
            if (elements.Id(at, s.value)) {
                ancestors.Add(AncestorKey('#', s.value));
                if (!kept.ByAncestorId().Empty()) find(kept.ByAncestorId(), s.value);
            }
            if (elements.Classes(at, s.value)) {
                EachWord(s.value, [&](std::string_view word) {
                    ancestors.Add(AncestorKey('.', word));
                    if (!kept.ByAncestorClass().Empty()) find(kept.ByAncestorClass(), word);
                });
            }
        }
    };
    if (ancestorLists) readAncestors();
    if (kept.Universal() != kNone) s.lists.push_back(kept.Universal());
    for (const std::uint32_t head : s.lists) {
        for (std::uint32_t entry = head; entry != kNone; entry = kept.Entry(entry).next) {
            const std::uint32_t index = kept.Entry(entry).selector;
            const detail::KeptSelector& selector = kept.Selector(index);
            // A selector kept without steps is its key alone.
            if (selector.stepCount != 0) {
                if (selector.filter != detail::KeptRules::kNoFilter) {
                    if (!ancestorsRead) readAncestors();
                    if (!ancestors.Covers(kept.Filter(selector.filter))) continue;
                }
                if (!detail::MatchesKeptSelector(kept.View(selector), elements, element, facts)) continue;
            }
            take(index, selector);
        }
    }
}

// The cascade's order: normal before important, then specificity, then
// sheet order.
void CSSStyleSheet::SortMatches() const {
    std::sort(scratch_.order.begin(), scratch_.order.end());
}

void CSSStyleSheet::CollectMatching(const SelectorElements& elements, SelectorElements::Handle element,
                                    Vector<CSSDeclaration>& out) const {
    while (out.Count()) out.DeleteLast();
    if (!element || kept_->DeclarationCount() == 0) return;
    Scratch& s = scratch_;
    s.matched.clear();
    s.order.clear();
    EachMatch(elements, element, [&](std::uint32_t index, const detail::KeptSelector& selector) {
        // Every value of the rule, with the selector's place among the
        // rule's: the sheet's order of declarations.
        if (index >= madeSelectors_.size() || !madeSelectors_[index].selector) Made(selector.rule);
        const MadeSelector& made = madeSelectors_[index];
        std::uint64_t place = made.firstPlace;
        for (std::uint32_t v = made.firstValue; v < made.firstValue + made.valueCount; ++v) {
            const MadeValue& value = madeValues_[v];
            const std::uint64_t order = (std::uint64_t{value.important} << 32) + selector.specificity;
            s.order.emplace_back(order, (place++ << 32) + s.matched.size());
            s.matched.push_back(Match{made.selector, value.property, value.value});
        }
    });
    SortMatches();
    ReserveSlots(out, static_cast<std::uint32_t>(s.order.size()));
    for (const auto& [order, place] : s.order) {
        const Match& m = s.matched[place & 0xFFFFFFFFu];
        out.Add(CSSDeclaration(m.selector, m.property, m.value));
    }
}

const CSSAppliedValue* CSSStyleSheet::MadeValues(std::uint32_t rule) const {
    if (const CSSAppliedValue* made = applied_->Of(rule)) return made;
    CSSList<CSSToken> tokens;
    Vector<CSSProperty> properties;
    ReadKeptBlock(rule, tokens, properties);
    return applied_->Keep(rule, properties);
}

void CSSStyleSheet::CollectMatchingValues(const SelectorElements& elements, SelectorElements::Handle element,
                                          std::vector<CSSAppliedDeclaration>& out) const {
    out.clear();
    if (!element || kept_->DeclarationCount() == 0) return;
    Scratch& s = scratch_;
    s.matchedValues.clear();
    s.order.clear();
    EachMatch(elements, element, [&](std::uint32_t index, const detail::KeptSelector& selector) {
        const CSSAppliedValue* values = MadeValues(selector.rule);
        const detail::KeptRule& rule = kept_->Rule(selector.rule);
        const std::uint32_t count = kept_->DeclarationsPerSelector(selector.rule);
        std::uint64_t place = rule.firstDeclaration + std::uint64_t{index - rule.firstSelector} * count;
        const CSSAppliedValue* declaration = values;
        for (const CSSAppliedValue* value = values; value != values + count; ++value) {
            if (value->flags & CSSAppliedValue::kFirst) declaration = value;
            const std::uint64_t order = (std::uint64_t{value->Important()} << 32) + selector.specificity;
            s.order.emplace_back(order, (place++ << 32) + s.matchedValues.size());
            s.matchedValues.push_back(CSSAppliedDeclaration{value, declaration});
        }
    });
    SortMatches();
    out.reserve(s.order.size());
    for (const auto& [order, place] : s.order) out.push_back(s.matchedValues[place & 0xFFFFFFFFu]);
}

}  // namespace markup::style

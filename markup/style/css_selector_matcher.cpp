// The selector matcher: a parsed or a kept selector against one element,
// right to left through the combinators.
#include "markup/style/css_selector_match.h"

#include "css_kept_selector.h"

namespace markup::style {

namespace {

using Handle = SelectorElements::Handle;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool Condition(SelectorTest test, std::string_view name, std::string_view want,
               const SelectorElements& elements, Handle element, const ElementFacts* facts) {
    if (facts) {
        switch (test) {
            case SelectorTest::kType: return SameName(facts->name, name);
            case SelectorTest::kClass: return facts->hasClasses && HasWord(facts->classes, name);
            case SelectorTest::kId: return facts->hasId && facts->id == name;
            default: break;
        }
    }
    std::string value;
    switch (test) {
        case SelectorTest::kType: return SameName(elements.Name(element), name);
        case SelectorTest::kClass: return elements.Classes(element, value) && HasWord(value, name);
        case SelectorTest::kId: return elements.Id(element, value) && value == name;
        case SelectorTest::kFirstChild: return elements.PreviousSibling(element) == nullptr;
        case SelectorTest::kRoot: return elements.Parent(element) == nullptr;
        case SelectorTest::kNever: return false;
        default: break;
    }
    if (!elements.Attribute(element, name, value)) return false;
    const std::string_view v(value);
    switch (test) {
        case SelectorTest::kAttrExists: return true;
        case SelectorTest::kAttrEquals: return v == want;
        case SelectorTest::kAttrIncludes: return HasWord(v, want);
        case SelectorTest::kAttrDashMatch:
            return v == want || (v.size() > want.size() && v.substr(0, want.size()) == want && v[want.size()] == '-');
        // An empty value for the three substring tests matches nothing.
        case SelectorTest::kAttrPrefix: return !want.empty() && v.substr(0, want.size()) == want;
        case SelectorTest::kAttrSuffix:
            return !want.empty() && v.size() >= want.size() && v.substr(v.size() - want.size()) == want;
        case SelectorTest::kAttrSubstring: return !want.empty() && v.find(want) != std::string_view::npos;
        default: return false;
    }
}

// The two forms of a selector the matcher reads: steps, each with its
// combinator and conditions.
class ParsedView {
  public:
    explicit ParsedView(const ParsedSelector& selector) : selector_(selector) {}
    std::size_t Steps() const { return selector_.steps.size(); }
    char Combinator(std::size_t step) const { return selector_.steps[step].combinator; }
    bool Step(std::size_t step, const SelectorElements& elements, Handle element,
              const ElementFacts* facts) const {
        for (const SelectorCondition& c : selector_.steps[step].conditions) {
            if (!Condition(c.test, c.name, c.value, elements, element, facts)) return false;
        }
        return true;
    }

  private:
    const ParsedSelector& selector_;
};

class KeptView {
  public:
    explicit KeptView(const detail::KeptSelectorView& selector) : selector_(selector) {}
    std::size_t Steps() const { return selector_.stepCount; }
    char Combinator(std::size_t step) const { return selector_.steps[step].combinator; }
    bool Step(std::size_t step, const SelectorElements& elements, Handle element,
              const ElementFacts* facts) const {
        const detail::KeptStep& s = selector_.steps[step];
        for (std::uint32_t i = 0; i < s.conditionCount; ++i) {
            const detail::KeptCondition& c = selector_.conditions[s.firstCondition + i];
            const char* name = selector_.text + c.name;
            if (!Condition(c.test, std::string_view(name, c.nameLength),
                           std::string_view(name + c.nameLength, c.valueLength), elements, element, facts)) {
                return false;
            }
        }
        return true;
    }

  private:
    const detail::KeptSelectorView& selector_;
};

// kNoAncestor: the steps to the left failed on every ancestor, so trying
// the next ancestor of a descendant combinator further right cannot help
// either; this keeps "a b c d" on a deep tree from going exponential.
enum class Result { kMatched, kFailed, kNoAncestor };

// The facts, when given, are the element's: only the last step has them.
template <class View>
Result Match(const View& selector, std::size_t index, const SelectorElements& elements, Handle element,
             const ElementFacts* facts = nullptr) {
    if (!selector.Step(index, elements, element, facts)) return Result::kFailed;
    if (index == 0) return Result::kMatched;
    switch (selector.Combinator(index)) {
        case '>': {
            const Handle parent = elements.Parent(element);
            if (!parent) return Result::kNoAncestor;
            const Result r = Match(selector, index - 1, elements, parent);
            return r == Result::kMatched ? r : (r == Result::kNoAncestor ? r : Result::kFailed);
        }
        case ' ': {
            for (Handle at = elements.Parent(element); at; at = elements.Parent(at)) {
                const Result r = Match(selector, index - 1, elements, at);
                if (r != Result::kFailed) return r;
            }
            return Result::kNoAncestor;
        }
        case '+': {
            const Handle previous = elements.PreviousSibling(element);
            if (!previous) return Result::kFailed;
            const Result r = Match(selector, index - 1, elements, previous);
            return r == Result::kMatched ? r : (r == Result::kNoAncestor ? r : Result::kFailed);
        }
        case '~': {
            for (Handle at = elements.PreviousSibling(element); at; at = elements.PreviousSibling(at)) {
                const Result r = Match(selector, index - 1, elements, at);
                if (r == Result::kMatched || r == Result::kNoAncestor) return r;
            }
            return Result::kFailed;
        }
        default: return Result::kFailed;
    }
}

template <class View>
bool Matches(const View& selector, const SelectorElements& elements, Handle element,
             const ElementFacts* facts) {
    if (!element || selector.Steps() == 0) return false;
    return Match(selector, selector.Steps() - 1, elements, element, facts) == Result::kMatched;
}

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

bool HasWord(std::string_view list, std::string_view word) {
    if (word.empty()) return false;
    std::size_t i = 0;
    while (i < list.size()) {
        while (i < list.size() && IsBlank(list[i])) ++i;
        std::size_t end = i;
        while (end < list.size() && !IsBlank(list[end])) ++end;
        if (end > i && list.substr(i, end - i) == word) return true;
        i = end;
    }
    return false;
}

bool MatchesSelector(const ParsedSelector& selector, const SelectorElements& elements, Handle element) {
    return Matches(ParsedView(selector), elements, element, nullptr);
}

bool MatchesSelector(const ParsedSelector& selector, const SelectorElements& elements, Handle element,
                     const ElementFacts& facts) {
    return Matches(ParsedView(selector), elements, element, &facts);
}

bool detail::MatchesKeptSelector(const KeptSelectorView& selector, const SelectorElements& elements,
                                 Handle element, const ElementFacts& facts) {
    return Matches(KeptView(selector), elements, element, &facts);
}

}  // namespace markup::style

// The selector matcher: a parsed selector against one element, right to
// left through the combinators.
#include "markup/style/css_selector_match.h"

namespace markup::style {

namespace {

using Handle = SelectorElements::Handle;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool Condition(const SelectorCondition& c, const SelectorElements& elements, Handle element,
               const ElementFacts* facts) {
    if (facts) {
        switch (c.test) {
            case SelectorTest::kType: return SameName(facts->name, c.name);
            case SelectorTest::kClass: return facts->hasClasses && HasWord(facts->classes, c.name);
            case SelectorTest::kId: return facts->hasId && facts->id == c.name;
            default: break;
        }
    }
    std::string value;
    switch (c.test) {
        case SelectorTest::kType: return SameName(elements.Name(element), c.name);
        case SelectorTest::kClass: return elements.Classes(element, value) && HasWord(value, c.name);
        case SelectorTest::kId: return elements.Id(element, value) && value == c.name;
        case SelectorTest::kFirstChild: return elements.PreviousSibling(element) == nullptr;
        case SelectorTest::kRoot: return elements.Parent(element) == nullptr;
        case SelectorTest::kNever: return false;
        default: break;
    }
    if (!elements.Attribute(element, c.name, value)) return false;
    const std::string_view v(value), want(c.value);
    switch (c.test) {
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

bool Step(const SelectorStep& step, const SelectorElements& elements, Handle element, const ElementFacts* facts) {
    for (const SelectorCondition& c : step.conditions) {
        if (!Condition(c, elements, element, facts)) return false;
    }
    return true;
}

// kNoAncestor: the steps to the left failed on every ancestor, so trying
// the next ancestor of a descendant combinator further right cannot help
// either; this keeps "a b c d" on a deep tree from going exponential.
enum class Result { kMatched, kFailed, kNoAncestor };

// The facts, when given, are the element's: only the last step has them.
Result Match(const ParsedSelector& selector, std::size_t index, const SelectorElements& elements, Handle element,
             const ElementFacts* facts = nullptr) {
    const SelectorStep& step = selector.steps[index];
    if (!Step(step, elements, element, facts)) return Result::kFailed;
    if (index == 0) return Result::kMatched;
    switch (step.combinator) {
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
    if (!element || selector.steps.empty()) return false;
    return Match(selector, selector.steps.size() - 1, elements, element) == Result::kMatched;
}

bool MatchesSelector(const ParsedSelector& selector, const SelectorElements& elements, Handle element,
                     const ElementFacts& facts) {
    if (!element || selector.steps.empty()) return false;
    return Match(selector, selector.steps.size() - 1, elements, element, &facts) == Result::kMatched;
}

}  // namespace markup::style

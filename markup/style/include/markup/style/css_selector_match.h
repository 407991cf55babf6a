// Selectors as written in a rule's prelude, parsed into steps joined by
// combinators, and matched against a document through SelectorElements.
//
// A selector is read right to left when matched: its last step must match
// the element, each combinator then names where the step before it must
// match (an ancestor, the parent, the previous element sibling, an earlier
// sibling). The engine reaches the document only through SelectorElements,
// so the same matcher serves parsed trees and tests' small trees.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace markup::style {

enum class SelectorTest : std::uint8_t {
    kType,           // element name, compared without regard to case
    kClass,          // one word of the class attribute
    kId,
    kAttrExists,     // [a]
    kAttrEquals,     // [a=v]
    kAttrIncludes,   // [a~=v]: one of its blank-separated words
    kAttrDashMatch,  // [a|=v]: v, or v followed by "-"
    kAttrPrefix,     // [a^=v]
    kAttrSuffix,     // [a$=v]
    kAttrSubstring,  // [a*=v]
    kFirstChild,
    kRoot,
    kNever,          // a pseudo-class or pseudo-element this engine does not evaluate
};

struct SelectorCondition {
    SelectorTest test;
    std::string name;   // element or attribute name, class or id
    std::string value;  // attribute tests' value
};

struct SelectorStep {
    // How the step on its left relates to this one: ' ' an ancestor, '>'
    // the parent, '+' the previous element sibling, '~' an earlier sibling;
    // 0 for the first step.
    char combinator = 0;
    std::vector<SelectorCondition> conditions;  // none: the universal selector
};

// Where the index files a selector: by its last step's id, else one of its
// classes, else its type; universal selectors are tried on every element.
enum class SelectorKeyKind : std::uint8_t { kUniversal, kId, kClass, kType };

struct ParsedSelector {
    std::vector<SelectorStep> steps;  // left to right
    // ids x 1,000,000 + (classes, attributes, pseudo-classes) x 1,000 +
    // types, each count held below 1,000.
    std::uint32_t specificity = 0;
    std::string text;  // normalised: single blanks, combinators spaced
    SelectorKeyKind keyKind = SelectorKeyKind::kUniversal;
    std::string key;  // types folded to lower case
    // The ids, classes and types that steps reached only through "
    // " and ">" need on some ancestor, as AncestorKey hashes them: an
    // element none of whose ancestors has one of them cannot match.
    std::vector<std::uint64_t> ancestorKeys;
    bool Never() const;
};

// Parses one selector (no commas). False when it is not a valid selector,
// which under CSS's rules drops the whole rule.
bool ParseSelector(std::string_view text, ParsedSelector& out);
// Splits a prelude at its top-level commas and parses each; false (and
// nothing in out) when any of them is invalid.
bool ParseSelectorGroup(std::string_view text, std::vector<ParsedSelector>& out);
// The parts of a prelude between its top-level commas (outside brackets,
// parentheses and strings), as ParseSelectorGroup parses them.
std::vector<std::string_view> SplitSelectorGroup(std::string_view text);

// The document as the matcher sees it. A handle is an element; the
// document node is never one, so the root element's parent is null.
class SelectorElements {
  public:
    using Handle = const void*;
    virtual ~SelectorElements() = default;
    virtual Handle Parent(Handle element) const = 0;
    // The nearest earlier sibling that is an element.
    virtual Handle PreviousSibling(Handle element) const = 0;
    // The element's name, valid while this object lives.
    virtual std::string_view Name(Handle element) const = 0;
    // Whether the element has the attribute (name compared without regard
    // to case); its value into `value`.
    virtual bool Attribute(Handle element, std::string_view name, std::string& value) const = 0;
    // Id and class may come from a faster road; by default the attributes.
    virtual bool Id(Handle element, std::string& value) const { return Attribute(element, "id", value); }
    virtual bool Classes(Handle element, std::string& value) const { return Attribute(element, "class", value); }
};

bool MatchesSelector(const ParsedSelector& selector, const SelectorElements& elements,
                     SelectorElements::Handle element);

// What the index already read of the element being matched, so that its
// own step does not ask the document again: its name, id and class list.
struct ElementFacts {
    std::string_view name;
    bool hasId = false;
    std::string_view id;
    bool hasClasses = false;
    std::string_view classes;
};
bool MatchesSelector(const ParsedSelector& selector, const SelectorElements& elements,
                     SelectorElements::Handle element, const ElementFacts& facts);

// A Bloom filter of ancestor keys (AncestorKey): two of 256 bits a key. A
// selector's filter not covered by an element's ancestors' filter proves
// that no ancestor has a key the selector needs.
struct AncestorFilter {
    std::uint64_t bits[4] = {0, 0, 0, 0};
    void Add(std::uint64_t key) {
        bits[(key >> 6) & 3] |= std::uint64_t{1} << (key & 63);
        bits[(key >> 14) & 3] |= std::uint64_t{1} << ((key >> 8) & 63);
    }
    bool Covers(const AncestorFilter& need) const {
        return ((need.bits[0] & ~bits[0]) | (need.bits[1] & ~bits[1]) | (need.bits[2] & ~bits[2]) |
                (need.bits[3] & ~bits[3])) == 0;
    }
};

// The hash of an id ('#'), class word ('.') or folded type name (' ').
std::uint64_t AncestorKey(char kind, std::string_view name);

// Whether a blank-separated list holds the word (case-sensitive).
bool HasWord(std::string_view list, std::string_view word);
// ASCII lower case, as element names compare.
std::string FoldedName(std::string_view name);
// Equal without regard to ASCII case.
bool SameName(std::string_view a, std::string_view b);

}  // namespace markup::style

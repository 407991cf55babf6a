// Selectors and rules of a style sheet, the declarations the cascade
// applies, and the description of a document element that selectors are
// matched against.
//
// A rule (CSSCompoundSelector) is a group of contextual selectors and a
// declaration block; a contextual selector is a sequence of simple
// selectors (element name, class, id, pseudo-class). Selectors refer to the
// style sheet's tokens, which must outlive them.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "markup/containers.h"
#include "markup/small_blocks.h"
#include "markup/string.h"
#include "markup/style/css_element.h"
#include "markup/style/css_selector_match.h"
#include "markup/style/css_token.h"

namespace markup::style {

class CSSCompoundSelector;
class CSSStyleSheet;

class CSSSelector {
  public:
    virtual ~CSSSelector();
    virtual String Text() const = 0;
};

class CSSSimpleSelector : public CSSSelector {
  public:
    CSSSimpleSelector() = default;
    CSSSimpleSelector(CSSToken* name, CSSToken* classToken, CSSToken* id, CSSToken* pseudoClass)
        : name_(name), class_(classToken), id_(id), pseudoClass_(pseudoClass) {}
    virtual CSSSimpleSelector* Clone() const;

    // The texts of name, class, id and pseudo-class, in that order.
    String Text() const override;

    // Each null when the selector has no such part.
    CSSToken* Name() const { return name_; }
    CSSToken* Class() const { return class_; }
    CSSToken* Id() const { return id_; }
    CSSToken* PseudoClass() const { return pseudoClass_; }

  private:
    CSSToken* name_ = nullptr;
    CSSToken* class_ = nullptr;
    CSSToken* id_ = nullptr;
    CSSToken* pseudoClass_ = nullptr;
};

class CSSComplexSelector : public CSSSelector {};

class CSSContextualSelector : public CSSComplexSelector {
  public:
    CSSContextualSelector() = default;
    CSSContextualSelector(const CSSContextualSelector& other);
    CSSContextualSelector& operator=(const CSSContextualSelector&) = delete;
    virtual CSSContextualSelector* Clone() const;

    // Null past the end.
    CSSSimpleSelector* At(std::uint32_t index) const { return selectors_.At(index); }
    std::uint32_t Count() const { return selectors_.Count(); }
    // Copies; an index past the end appends.
    void Add(const CSSSimpleSelector& selector);
    void Insert(std::uint32_t index, const CSSSimpleSelector& selector);
    // The parsed selector's normalised text when it has one, else the
    // simple selectors' texts separated by blanks.
    String Text() const override;

    // The parsed selector's specificity when it has one; else ids x
    // 1,000,000 + (classes + pseudo-classes) x 1,000 + names, counting the
    // simple selectors that have each part, held at the 32-bit bound and
    // computed when first asked after a change.
    std::uint32_t Specificity() const;

    // The selector as the rule reader parsed it from the prelude (null for
    // one built of simple selectors alone); shared between copies.
    const ParsedSelector* Parsed() const { return Shared().get(); }
    void SetParsed(std::shared_ptr<const ParsedSelector> parsed);
    // Instead, the selector's text as written, which is parsed when the
    // selector is first asked for it or copied: a sheet's rule made again
    // from its kept text, whose text the sheet keeps as long as the rule.
    void SetSource(std::string_view text);

    // The rule the selector belongs to; null for one outside a rule.
    CSSCompoundSelector* Rule() const { return rule_; }
    void SetRule(CSSCompoundSelector* rule) { rule_ = rule; }
    // The first property of the owning rule with that id; null when none.
    CSSProperty* FindProperty(std::uint32_t propertyId) const;

  private:
    CSSCompoundSelector* rule_ = nullptr;
    Vector<CSSSimpleSelector> selectors_;
    const std::shared_ptr<const ParsedSelector>& Shared() const;

    mutable std::shared_ptr<const ParsedSelector> parsed_;
    mutable std::string_view source_;
    mutable std::uint8_t stale_ = 1;
    mutable std::uint32_t specificity_ = 0;
};

// One declaration the cascade applies: a value of a property, with the
// selector that chose it (none for a "style" attribute's). It refers to
// all three; their owners (the rule, or the CSS manager's lists) keep them.
class CSSDeclaration {
  public:
    // The sheet's list holds one per selector and value, a match a copy.
    MARKUP_SMALL_BLOCK_ALLOCATION

    CSSDeclaration(CSSContextualSelector* selector, CSSProperty* property, CSSValue* value)
        : selector_(selector), property_(property), value_(value) {}
    virtual ~CSSDeclaration();
    virtual CSSDeclaration* Clone() const;

    CSSContextualSelector* Selector() const { return selector_; }
    CSSProperty* Property() const { return property_; }
    CSSValue* Value() const { return value_; }

  private:
    CSSContextualSelector* selector_;
    CSSProperty* property_;
    CSSValue* value_;
};

class CSSCompoundSelector : public CSSComplexSelector {
  public:
    explicit CSSCompoundSelector(CSSStyleSheet* sheet) : sheet_(sheet) {}
    // Copies of every selector (belonging to the copy) and property.
    CSSCompoundSelector(const CSSCompoundSelector& other);
    CSSCompoundSelector& operator=(const CSSCompoundSelector&) = delete;
    virtual CSSCompoundSelector* Clone() const;

    // The contextual selectors' texts joined by ", ".
    String Text() const override;
    // The group's text, " { ", each property's text and a blank, "}".
    String RuleText() const;

    // A copy that belongs to this rule.
    void AddSelector(const CSSContextualSelector& selector);
    CSSContextualSelector* SelectorAt(std::uint32_t index) const { return selectors_.At(index); }
    std::uint32_t SelectorCount() const { return selectors_.Count(); }

    // Room for that many more selectors and properties, exactly.
    void Reserve(std::uint32_t selectors, std::uint32_t properties);
    // A copy, at the index or appended for -1 (or an index past the end).
    void AddProperty(const CSSProperty& property, std::int32_t index = -1);
    CSSProperty* PropertyAt(std::uint32_t index) const { return properties_.At(index); }
    std::uint32_t PropertyCount() const { return properties_.Count(); }

    // One declaration per selector, property and value, in that nesting:
    // selector S1 with properties A (values 1, 2) and B (value 3), then S2,
    // gives S1-A-1, S1-A-2, S1-B-3, S2-A-1, S2-A-2, S2-B-3.
    void AppendDeclarations(Vector<CSSDeclaration>& out);

    CSSStyleSheet* Sheet() const { return sheet_; }

  private:
    Vector<CSSContextualSelector> selectors_;
    Vector<CSSProperty> properties_;
    CSSStyleSheet* sheet_;
};

// A document element as selectors see it: its name, one class word with a
// leading ".", "#" and its id, and a pseudo-class that is always empty.
class CSSSimpleSelectorDesc {
  public:
    CSSSimpleSelectorDesc() = default;
    CSSSimpleSelectorDesc(const String& name, const String& classText, const String& id)
        : name_(name), class_(classText), id_(id) {}
    virtual ~CSSSimpleSelectorDesc();
    virtual CSSSimpleSelectorDesc* Clone() const;

    const String& Name() const { return name_; }
    const String& Class() const { return class_; }
    const String& Id() const { return id_; }
    const String& PseudoClass() const { return pseudoClass_; }

    bool HasName() const { return !name_.IsEmpty(); }
    bool HasClass() const { return !class_.IsEmpty(); }
    bool HasId() const { return !id_.IsEmpty(); }
    bool HasPseudoClass() const { return !pseudoClass_.IsEmpty(); }
    bool HasIdOnly() const { return HasId() && !HasName(); }
    bool HasClassOnly() const { return HasClass() && !HasName() && !HasId(); }
    bool HasPseudoClassOnly() const { return HasPseudoClass() && !HasName() && !HasId() && !HasClass(); }
    // Name, id, class and pseudo-class texts.
    String Text() const;
    // False as soon as a part both sides have differs (without regard to
    // case); true otherwise.
    bool LenientMatch(const CSSSimpleSelector& selector) const;

  private:
    String name_;
    String class_;
    String id_;
    String pseudoClass_;
};

// Whether the simple selector matches the description: no part differs
// (names, ids and classes compare without regard to case; a class on only
// one side, an id the element lacks and any pseudo-class differ), and, with
// needPositive, at least one part compared equal.
bool MatchesCSSDescription(const CSSSimpleSelector& selector, const CSSSimpleSelectorDesc& description,
                           bool needPositive);

}  // namespace markup::style

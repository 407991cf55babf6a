// Selectors, rules and declarations: copies, texts and specificity.
#include "markup/style/css_selector.h"

#include <limits>

#include "style_heap.h"

namespace markup::style {

namespace {

// The texts of the selectors of a list, with the separator between them.
template <class T>
String JoinedTexts(const Vector<T>& selectors, const char* separator) {
    String text;
    for (std::uint32_t i = 0; i < selectors.Count(); ++i) {
        if (i) text += separator;
        text += selectors.At(i)->Text();
    }
    return text;
}

}  // namespace

CSSSelector::~CSSSelector() = default;

CSSSimpleSelector* CSSSimpleSelector::Clone() const {
    return detail::CopyOf(*this);
}

String CSSSimpleSelector::Text() const {
    String text;
    for (const CSSToken* part : {name_, class_, id_, pseudoClass_}) {
        if (part) text += part->Text();
    }
    return text;
}

CSSContextualSelector::CSSContextualSelector(const CSSContextualSelector& other)
    : rule_(other.rule_), parsed_(other.Shared()) {
    selectors_.Resize(other.selectors_.Count());
    selectors_.AppendAll(other.selectors_);
}

void CSSContextualSelector::SetParsed(std::shared_ptr<const ParsedSelector> parsed) {
    parsed_ = std::move(parsed);
    source_ = {};
}

void CSSContextualSelector::SetSource(std::string_view text) {
    parsed_.reset();
    source_ = text;
}

const std::shared_ptr<const ParsedSelector>& CSSContextualSelector::Shared() const {
    if (!parsed_ && !source_.empty()) {
        ParsedSelector parsed;
        if (ParseSelector(source_, parsed))
            parsed_ = std::make_shared<const ParsedSelector>(std::move(parsed));
        source_ = {};
    }
    return parsed_;
}

CSSContextualSelector* CSSContextualSelector::Clone() const {
    return detail::CopyOf(*this);
}

void CSSContextualSelector::Add(const CSSSimpleSelector& selector) {
    selectors_.Add(selector);
    stale_ = 1;
}

void CSSContextualSelector::Insert(std::uint32_t index, const CSSSimpleSelector& selector) {
    if (index > selectors_.Count()) index = selectors_.Count();
    selectors_.InsertAt(index, selector);
    stale_ = 1;
}

String CSSContextualSelector::Text() const {
    if (const ParsedSelector* parsed = Parsed()) return String(parsed->text.c_str());
    return JoinedTexts(selectors_, " ");
}

std::uint32_t CSSContextualSelector::Specificity() const {
    if (const ParsedSelector* parsed = Parsed()) return parsed->specificity;
    if (stale_) {
        std::uint64_t ids = 0, classes = 0, names = 0;
        for (std::uint32_t i = 0; i < selectors_.Count(); ++i) {
            const CSSSimpleSelector* s = selectors_.At(i);
            ids += s->Id() != nullptr;
            classes += (s->Class() != nullptr) + (s->PseudoClass() != nullptr);
            names += s->Name() != nullptr;
        }
        const std::uint64_t total = ids * 1000000u + classes * 1000u + names;
        const std::uint64_t bound = std::numeric_limits<std::uint32_t>::max();
        specificity_ = static_cast<std::uint32_t>(total < bound ? total : bound);
        stale_ = 0;
    }
    return specificity_;
}

CSSProperty* CSSContextualSelector::FindProperty(std::uint32_t propertyId) const {
    if (!rule_) return nullptr;
    for (std::uint32_t i = 0; i < rule_->PropertyCount(); ++i) {
        CSSProperty* property = rule_->PropertyAt(i);
        if (property->Id() == propertyId) return property;
    }
    return nullptr;
}

CSSDeclaration::~CSSDeclaration() = default;

CSSDeclaration* CSSDeclaration::Clone() const {
    return detail::CopyOf(*this);
}

CSSCompoundSelector::CSSCompoundSelector(const CSSCompoundSelector& other) : sheet_(other.sheet_) {
    selectors_.Resize(other.SelectorCount());
    properties_.Resize(other.PropertyCount());
    for (std::uint32_t i = 0; i < other.SelectorCount(); ++i) AddSelector(*other.SelectorAt(i));
    properties_.AppendAll(other.properties_);
}

CSSCompoundSelector* CSSCompoundSelector::Clone() const {
    return detail::CopyOf(*this);
}

String CSSCompoundSelector::Text() const {
    return JoinedTexts(selectors_, ", ");
}

String CSSCompoundSelector::RuleText() const {
    String text = Text();
    text += " { ";
    for (std::uint32_t i = 0; i < properties_.Count(); ++i) {
        text += properties_.At(i)->Text();
        text += ' ';
    }
    text += '}';
    return text;
}

void CSSCompoundSelector::AddSelector(const CSSContextualSelector& selector) {
    std::unique_ptr<CSSContextualSelector> copy(selector.Clone());
    copy->SetRule(this);
    detail::Adopt(selectors_, std::move(copy));
}

void CSSCompoundSelector::Reserve(std::uint32_t selectors, std::uint32_t properties) {
    selectors_.Resize(selectors_.Count() + selectors);
    properties_.Resize(properties_.Count() + properties);
}

void CSSCompoundSelector::AddProperty(const CSSProperty& property, std::int32_t index) {
    if (index < 0 || static_cast<std::uint32_t>(index) >= properties_.Count()) {
        properties_.Add(property);
    } else {
        properties_.InsertAt(static_cast<std::uint32_t>(index), property);
    }
}

void CSSCompoundSelector::AppendDeclarations(Vector<CSSDeclaration>& out) {
    for (std::uint32_t s = 0; s < selectors_.Count(); ++s) {
        for (std::uint32_t p = 0; p < properties_.Count(); ++p) {
            CSSProperty* property = properties_.At(p);
            for (std::uint32_t v = 0; v < property->ValueCount(); ++v) {
                detail::Adopt(out, detail::Make<CSSDeclaration>(selectors_.At(s), property, property->ValueAt(v)));
            }
        }
    }
}

}  // namespace markup::style

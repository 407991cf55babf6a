// CSSElement, CSSValue and CSSProperty: texts and copies.
#include "markup/style/css_element.h"

#include <algorithm>
#include <cstdint>

#include "style_heap.h"

namespace markup::style {

// Copies are what a sheet keeps of each declaration, so their lists take
// exactly the slots they need rather than a first step of twenty.
CSSElement::CSSElement(const CSSElement& other) : text_(other.text_), letGo_(other.letGo_) {
    tokens_.Resize(other.tokens_.Count());
    for (std::uint32_t i = 0; i < other.tokens_.Count(); ++i) tokens_.Add(other.tokens_.At(i));
}

CSSElement::~CSSElement() = default;

void CSSElement::LetGoOfTokens() {
    if (letGo_) return;
    text_ = Text();
    tokens_.RemoveAll();
    tokens_.Resize(0);
    letGo_ = 1;
}

String CSSElement::Text() const {
    if (letGo_) return text_;
    // Room for the whole text first: String grows by a fixed step, and a
    // declaration's values may run to hundreds of thousands of tokens.
    std::uint64_t length = tokens_.Count();
    for (std::uint32_t i = 0; i < tokens_.Count(); ++i) {
        if (const CSSToken* token = tokens_.At(i)) length += token->Text().Length();
    }
    String text;
    // Past 4 GB the appends below raise the memory fault.
    text.Reserve(static_cast<std::uint32_t>(std::min<std::uint64_t>(length, UINT32_MAX)));
    for (std::uint32_t i = 0; i < tokens_.Count(); ++i) {
        if (i) text += ' ';
        if (const CSSToken* token = tokens_.At(i)) text += token->Text();
    }
    return text;
}

CSSValue::CSSValue(const CSSValue& other)
    : CSSElement(other),
      attribute_(other.attribute_ ? other.attribute_->Clone() : nullptr),
      important_(other.important_) {}

CSSValue::~CSSValue() = default;

CSSValue* CSSValue::Clone() const {
    return detail::CopyOf(*this);
}

void CSSValue::SetImportant(bool on) {
    important_ = on ? 1 : 0;
    if (attribute_) attribute_->SetFlag(important_);
}

CSSProperty::CSSProperty(const CSSProperty& other)
    : CSSElement(other), name_(other.name_), nameLength_(other.nameLength_), id_(other.id_) {
    values_.Resize(other.values_.Count());
    values_.AppendAll(other.values_);
}

CSSProperty::~CSSProperty() = default;

String CSSProperty::Name() const {
    if (name_) return name_->Text();
    return Text().Left(nameLength_);
}

void CSSProperty::LetGoOfTokens() {
    if (LetGo()) return;
    nameLength_ = name_ ? name_->Text().Length() : 0;
    name_ = nullptr;
    CSSElement::LetGoOfTokens();
    for (std::uint32_t i = 0; i < values_.Count(); ++i) {
        if (CSSValue* value = values_.At(i)) value->LetGoOfTokens();
    }
}

CSSProperty* CSSProperty::Clone() const {
    return detail::CopyOf(*this);
}

}  // namespace markup::style

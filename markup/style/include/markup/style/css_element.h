// CSSElement, CSSValue and CSSProperty: the declarations of a style sheet.
//
// A property is a declaration (a name, ":", values, an optional
// "!important") whose values are typed (CSSAttribute). Elements refer to
// the tokens they were made from; the tokens stay owned by the token list
// (the style sheet's, or the CSS manager's for a "style" attribute), which
// must outlive them.
#pragma once

#include <cstdint>
#include <memory>

#include "markup/containers.h"
#include "markup/small_blocks.h"
#include "markup/string.h"
#include "markup/style/css_attribute.h"
#include "markup/style/css_token.h"

namespace markup::style {

class CSSElement {
  public:
    // A sheet holds several of each declaration.
    MARKUP_SMALL_BLOCK_ALLOCATION

    CSSElement() = default;
    CSSElement(const CSSElement& other);
    virtual ~CSSElement();
    CSSElement& operator=(const CSSElement&) = delete;

    // The tokens' texts joined by one blank (kept from them once let go).
    String Text() const;
    const List<CSSToken>& Tokens() const { return tokens_; }
    void AddToken(CSSToken* token) { tokens_.Add(token); }
    // Keeps the text and lets go of the tokens, which their list may then
    // delete: a style sheet keeps its declarations, not their tokens.
    virtual void LetGoOfTokens();

  protected:
    bool LetGo() const { return letGo_ != 0; }

  private:
    List<CSSToken> tokens_;
    String text_;
    std::uint8_t letGo_ = 0;
};

class CSSValue : public CSSElement {
  public:
    CSSValue() = default;
    // The attribute is copied.
    CSSValue(const CSSValue& other);
    ~CSSValue() override;
    virtual CSSValue* Clone() const;

    // Null until set; the value owns it. The value's property id is the
    // attribute's.
    CSSAttribute* Attribute() const { return attribute_.get(); }
    void SetAttribute(std::unique_ptr<CSSAttribute> attribute) { attribute_ = std::move(attribute); }
    std::uint32_t PropertyId() const { return attribute_ ? attribute_->PropertyId() : 0; }

    // The mark of a declaration that ends in "!important"; the attribute's
    // flag carries it too.
    bool Important() const { return important_ != 0; }
    void SetImportant(bool on);

  private:
    std::unique_ptr<CSSAttribute> attribute_;
    std::uint8_t important_ = 0;
};

class CSSProperty : public CSSElement {
  public:
    CSSProperty(CSSToken* name, std::uint32_t id) : name_(name), id_(id) {}
    // Every value is copied.
    CSSProperty(const CSSProperty& other);
    ~CSSProperty() override;
    virtual CSSProperty* Clone() const;

    // Null once the property let go of its tokens; the name stays.
    CSSToken* NameToken() const { return name_; }
    String Name() const;
    void LetGoOfTokens() override;
    // The CSS dictionary's id of the declared property; each value carries
    // the id of the property it applies to (a shorthand's member).
    std::uint32_t Id() const { return id_; }
    Vector<CSSValue>& Values() { return values_; }
    const Vector<CSSValue>& Values() const { return values_; }
    CSSValue* ValueAt(std::uint32_t index) const { return values_.At(index); }
    std::uint32_t ValueCount() const { return values_.Count(); }

  private:
    CSSToken* name_;
    std::uint32_t nameLength_ = 0;  // of the text, once the tokens are gone
    std::uint32_t id_;
    Vector<CSSValue> values_;
};

}  // namespace markup::style

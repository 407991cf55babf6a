// CSSAttribute and its kinds: the typed value of one token of a declaration.
//
// The declaration parser makes one per value token through the factories
// below; the cascade asks it for its keyword id, number, unit or colour
// word. Keywords and property names are resolved through the CSS
// dictionary the value was made with, which must outlive it. Numbers are
// read and written in the C locale whatever the process's locale is.
#pragma once

#include <cstdint>
#include <memory>

#include "markup/parser/css_dictionary.h"
#include "markup/small_blocks.h"
#include "markup/string.h"
#include "markup/style/css_token.h"

namespace markup::style {

// The type codes of the kinds.
enum CSSAttributeType : std::uint32_t {
    kCSSGroupValue = 0,  // a keyword of the property's group
    kCSSLengthValue = 1,
    kCSSZeroValue = 2,
    kCSSPercentValue = 3,
    kCSSColourValue = 4,
    kCSSURLValue = 5,
    kCSSNumberValue = 6,
    kCSSStringValue = 7,
    kCSSIdentValue = 8,
    kCSSUnknownValue = 9,  // unrecognised; the cascade skips it
    kCSSWideKeywordValue = 10,  // "inherit" or "initial", which every property takes
};

// Unit codes of numeric values.
enum CSSUnitCode : std::uint32_t {
    kCSSUnitPercent = 0,
    kCSSUnitPt = 1,
    kCSSUnitMm = 2,
    kCSSUnitCm = 3,
    kCSSUnitPc = 4,
    kCSSUnitIn = 5,
    kCSSUnitPx = 6,
    kCSSUnitEm = 7,
    kCSSUnitEx = 8,
    kCSSUnitZero = 9,
    kCSSUnitNumber = 10,
    kCSSUnitDeg = 11,
    kCSSUnitRad = 12,
    kCSSUnitGrad = 13,
    kCSSUnitUnknown = 14,
};

// Colour words from here up are special colours of the dictionary
// (transparent), not red, green and blue.
inline constexpr std::uint32_t kCSSFirstSpecialColour = 0x01000000u;

class CSSAttribute {
  public:
    // One per value of every declaration of a sheet.
    MARKUP_SMALL_BLOCK_ALLOCATION

    virtual ~CSSAttribute();
    // A heap copy of the same kind.
    virtual CSSAttribute* Clone() const = 0;

    std::uint32_t TypeCode() const { return typeCode_; }
    void SetTypeCode(std::uint32_t code) { typeCode_ = code; }
    std::uint32_t PropertyId() const { return propertyId_; }
    void SetPropertyId(std::uint32_t id) { propertyId_ = id; }
    const String& Text() const { return text_; }
    // Stores the text; the kinds that read a text parse it as well.
    virtual void SetText(const String& text) { text_ = text; }
    // The declaration's priority mark.
    std::uint8_t Flag() const { return flag_; }
    void SetFlag(std::uint8_t flag) { flag_ = flag; }

    bool IsGroup() const { return typeCode_ == kCSSGroupValue; }
    bool IsSingleValue() const { return !IsGroup(); }
    virtual bool IsNumerical() const { return false; }
    // The dictionary's name of the property id; empty when it has none.
    String PropertyName() const;

    const CSSDictionary& Dictionary() const { return *css_; }

  protected:
    CSSAttribute(std::uint32_t typeCode, const CSSDictionary& css) : typeCode_(typeCode), css_(&css) {}
    CSSAttribute(const CSSAttribute&) = default;
    CSSAttribute& operator=(const CSSAttribute&) = delete;

  private:
    std::uint32_t typeCode_;
    String text_;
    std::uint32_t propertyId_ = 0;
    std::uint8_t flag_ = 0;
    const CSSDictionary* css_;
};

class CSSStringAttribute : public CSSAttribute {
  public:
    explicit CSSStringAttribute(const CSSDictionary& css) : CSSAttribute(kCSSStringValue, css) {}
    CSSAttribute* Clone() const override;

  protected:
    CSSStringAttribute(std::uint32_t typeCode, const CSSDictionary& css) : CSSAttribute(typeCode, css) {}
};

class CSSIdentAttribute : public CSSStringAttribute {
  public:
    explicit CSSIdentAttribute(const CSSDictionary& css) : CSSStringAttribute(kCSSIdentValue, css) {}
    CSSAttribute* Clone() const override;
};

class CSSURLAttribute : public CSSStringAttribute {
  public:
    explicit CSSURLAttribute(const CSSDictionary& css) : CSSStringAttribute(kCSSURLValue, css) {}
    CSSAttribute* Clone() const override;
};

// "inherit" (the parent's value) or "initial" (the property's initial
// value): the whole value of a declaration of any property.
class CSSWideKeywordAttribute : public CSSStringAttribute {
  public:
    explicit CSSWideKeywordAttribute(const CSSDictionary& css) : CSSStringAttribute(kCSSWideKeywordValue, css) {}
    CSSAttribute* Clone() const override;
    // True for "initial", false for "inherit".
    bool IsInitial() const;
};

// Whether the text is "inherit" or "initial", in any case.
bool IsCSSWideKeyword(const String& text);

class CSSUnknownAttribute : public CSSAttribute {
  public:
    explicit CSSUnknownAttribute(const CSSDictionary& css) : CSSAttribute(kCSSUnknownValue, css) {}
    CSSAttribute* Clone() const override;
};

class CSSNumericalAttribute : public CSSStringAttribute {
  public:
    bool IsNumerical() const override { return true; }
    // The text read as a decimal number (a sign, blanks after it, digits, a
    // fraction, an exponent); what follows is ignored; 0 for a text that
    // does not begin with a number.
    double Number() const;
    // The number as "%g" writes it.
    String NumberText() const;
    virtual std::uint32_t UnitCode() const = 0;
    // What follows the number in the text: the unit's letters.
    String UnitText() const;

  protected:
    using CSSStringAttribute::CSSStringAttribute;
};

class CSSNumberAttribute : public CSSNumericalAttribute {
  public:
    explicit CSSNumberAttribute(const CSSDictionary& css) : CSSNumericalAttribute(kCSSNumberValue, css) {}
    CSSAttribute* Clone() const override;
    std::uint32_t UnitCode() const override { return kCSSUnitNumber; }
};

class CSSPercentAttribute : public CSSNumericalAttribute {
  public:
    explicit CSSPercentAttribute(const CSSDictionary& css) : CSSNumericalAttribute(kCSSPercentValue, css) {}
    CSSAttribute* Clone() const override;
    std::uint32_t UnitCode() const override { return kCSSUnitPercent; }
};

class CSSZeroAttribute : public CSSNumericalAttribute {
  public:
    explicit CSSZeroAttribute(const CSSDictionary& css) : CSSNumericalAttribute(kCSSZeroValue, css) {}
    CSSAttribute* Clone() const override;
    std::uint32_t UnitCode() const override { return kCSSUnitZero; }
};

class CSSLengthAttribute : public CSSNumericalAttribute {
  public:
    explicit CSSLengthAttribute(const CSSDictionary& css) : CSSNumericalAttribute(kCSSLengthValue, css) {}
    CSSAttribute* Clone() const override;
    // The unit comes from the first token the scanner makes of the text;
    // a text that starts with no unit token gets kCSSUnitUnknown.
    void SetText(const String& text) override;
    std::uint32_t UnitCode() const override { return unit_; }

  private:
    std::uint32_t unit_ = kCSSUnitUnknown;
};

class CSSGroupAttribute : public CSSAttribute {
  public:
    explicit CSSGroupAttribute(const CSSDictionary& css) : CSSAttribute(kCSSGroupValue, css) {}
    CSSAttribute* Clone() const override;
    // The keyword id of the text among the property's keywords; 0 when it
    // is none of them.
    std::uint32_t KeywordId() const;
    // The keyword's number in the dictionary; 0 when the text is no keyword.
    double KeywordNumber() const;
    // Both, found at once.
    void Keyword(std::uint32_t& id, double& number) const;

  protected:
    using CSSAttribute::CSSAttribute;
};

// A colour: a "#" form, an rgb(), rgba(), hsl() or hsla() form, a colour
// keyword (of the 147, or of the property), as a word 0x00BBGGRR and an
// alpha.
class CSSColorAttribute : public CSSGroupAttribute {
  public:
    explicit CSSColorAttribute(const CSSDictionary& css) : CSSGroupAttribute(kCSSColourValue, css) {}
    CSSAttribute* Clone() const override;
    // Stores the text and computes its colour word; a text none of the
    // forms reads gives 0 (black), and a "#" form of another length leaves
    // the word as it was.
    void SetText(const String& text) override;
    // SetText, then the parsed mark.
    void ParseAndMark(const String& text);

    bool HasText() const { return !Text().IsEmpty(); }
    bool IsSpecial() const { return colour_ >= kCSSFirstSpecialColour; }
    std::uint32_t ColourWord() const { return colour_; }
    void SetColourWord(std::uint32_t word) { colour_ = word; }
    // 0 transparent to 1 opaque, from the form's alpha component.
    double Alpha() const { return alpha_; }
    bool Parsed() const { return parsed_ != 0; }

    // The words of the "#" forms of a text; false when it has another form.
    static bool ThreeDigitWord(const String& text, std::uint32_t& word);
    static bool SixDigitWord(const String& text, std::uint32_t& word);
    // The word of an rgb() text (found in any letter case); 0 when it has
    // fewer than three components.
    static std::uint32_t RGBWord(const String& text);

  private:
    std::uint32_t parsed_ = 0;
    std::uint32_t colour_ = 0;
    double alpha_ = 1.0;
};

// The value of a token for a property: a keyword of the property's group
// becomes a keyword value (a colour for the colour properties 9, 10, 39 and
// 101 to 104); any other token a value of its token type, unknown when the
// type gives none. `recognised` is false for an unknown value.
std::unique_ptr<CSSAttribute> CreateCSSAttributeFromToken(const CSSToken& token, bool& recognised,
                                                          std::uint32_t propertyId, const CSSDictionary& css);
// The same from a text whose token type is known.
std::unique_ptr<CSSAttribute> CreateCSSAttributeFromText(const String& text, std::uint32_t tokenType,
                                                         bool& recognised, std::uint32_t propertyId,
                                                         const CSSDictionary& css);
// An empty value of the kind of a type code, for the property; null for a
// code above 9.
std::unique_ptr<CSSAttribute> CreateCSSAttribute(std::uint32_t propertyId, std::uint32_t typeCode,
                                                 const CSSDictionary& css);

// The text between the first "(" and the last ")" of the value's text,
// trimmed, one quote removed at each end (double, then single), trimmed
// again; empty without "(" or without a ")" after it.
void GetCSSURLText(const CSSAttribute& value, String& out);
// The same of a value's text.
void GetCSSURLText(const String& text, String& out);

// Whether the text is one of the property's keywords (its group's values,
// compared without case).
bool IsCSSKeyword(const CSSDictionary& css, std::uint32_t propertyId, const String& text);

}  // namespace markup::style

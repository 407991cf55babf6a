// CSSAppliedValue: one value of a declaration as the cascade applies it,
// read once from its typed attribute (CSSAttribute): the property it
// applies to, its kind, and its keyword, number and unit, or colour, with
// its text. A style sheet keeps the values of its matched rules in this
// form, 32 bytes a value and its text, where a rule's objects cost some
// 400 bytes a value; the cascade reads this form for every declaration.
#pragma once

#include <cstdint>
#include <string_view>

#include "markup/string.h"
#include "markup/style/css_attribute.h"

namespace markup::style {

struct CSSAppliedValue {
    // The kind of a value that has no attribute, which the cascade skips.
    static constexpr std::uint8_t kNoAttribute = 0xFF;
    enum Flags : std::uint8_t {
        kImportant = 1,
        kNumerical = 2,  // a length, zero, percentage or number
        kInitial = 4,    // the wide keyword "initial" (else "inherit")
        kFirst = 8,      // the first value of its declaration, as a sheet keeps it
    };

    // The attribute's text, which its owner keeps (not terminated).
    const char* text = nullptr;
    std::uint32_t textLength = 0;
    std::uint32_t propertyId = 0;
    // A keyword's id among its property's keywords, a colour's word.
    std::uint32_t word = 0;
    std::uint8_t type = kNoAttribute;     // CSSAttributeType
    std::uint8_t unit = kCSSUnitUnknown;  // CSSUnitCode of a numerical value
    std::uint8_t flags = 0;
    // A numerical value's number, a keyword's number in the dictionary, a
    // colour's alpha.
    double number = 0.0;

    std::string_view Text() const { return {text, textLength}; }
    String TextString() const;
    bool Important() const { return (flags & kImportant) != 0; }
    bool IsKeyword() const { return type == kCSSGroupValue; }
    bool IsNumerical() const { return (flags & kNumerical) != 0; }
    bool IsColour() const { return type == kCSSColourValue; }
    bool IsSpecialColour() const { return word >= kCSSFirstSpecialColour; }
};

// The value of an attribute (none for null), its text the attribute's. An
// unrecognised value of fill, stroke or stop-color that names a colour of
// the colour property becomes that colour: their own keywords hold no
// colour names.
CSSAppliedValue AppliedValueOf(const CSSAttribute* attribute, bool important);

// A value in the list the cascade applies, and the declaration it belongs
// to: the values of one declaration stand side by side under one mark.
struct CSSAppliedDeclaration {
    const CSSAppliedValue* value;
    const void* declaration;
};

}  // namespace markup::style

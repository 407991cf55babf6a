// CSSAppliedValue: a typed attribute read into the form the cascade applies.
#include "markup/style/css_applied_value.h"

#include "style_heap.h"

namespace markup::style {

String CSSAppliedValue::TextString() const {
    String out(textLength);
    out.Append(text, textLength);
    return out;
}

namespace {

// Fill, stroke and stop colour take the colour names of the colour
// property: their own keyword groups hold none, so without this every
// named colour of an SVG drawing would be an unknown value.
std::unique_ptr<CSSColorAttribute> NamedColour(const CSSAttribute& value) {
    constexpr std::uint32_t kColourProperty = 9;
    const std::uint32_t id = value.PropertyId();
    if (value.TypeCode() != kCSSUnknownValue || (id != 69 && id != 72 && id != 89)) return nullptr;
    if (!IsCSSKeyword(value.Dictionary(), kColourProperty, value.Text())) return nullptr;
    auto colour = detail::Make<CSSColorAttribute>(value.Dictionary());
    colour->SetPropertyId(kColourProperty);
    colour->SetText(value.Text());
    colour->SetPropertyId(id);
    return colour;
}

}  // namespace

CSSAppliedValue AppliedValueOf(const CSSAttribute* attribute, bool important) {
    CSSAppliedValue out;
    if (important) out.flags |= CSSAppliedValue::kImportant;
    if (!attribute) return out;
    const String& text = attribute->Text();
    out.text = text.Text();
    out.textLength = text.Length();
    out.propertyId = attribute->PropertyId();
    const std::unique_ptr<CSSColorAttribute> named = NamedColour(*attribute);
    const CSSAttribute& value = named ? *named : *attribute;
    out.type = static_cast<std::uint8_t>(value.TypeCode());
    switch (value.TypeCode()) {
        case kCSSGroupValue:
            static_cast<const CSSGroupAttribute&>(value).Keyword(out.word, out.number);
            break;
        case kCSSColourValue: {
            const auto& colour = static_cast<const CSSColorAttribute&>(value);
            out.word = colour.ColourWord();
            out.number = colour.Alpha();
            break;
        }
        case kCSSWideKeywordValue:
            if (static_cast<const CSSWideKeywordAttribute&>(value).IsInitial())
                out.flags |= CSSAppliedValue::kInitial;
            break;
        default:
            if (value.IsNumerical()) {
                const auto& numerical = static_cast<const CSSNumericalAttribute&>(value);
                out.flags |= CSSAppliedValue::kNumerical;
                out.number = numerical.Number();
                out.unit = static_cast<std::uint8_t>(numerical.UnitCode());
            }
            break;
    }
    return out;
}

}  // namespace markup::style

// CSSAttribute: the plain kinds, the factories and the URL text of a value.
#include "markup/style/css_attribute.h"

#include "style_heap.h"

namespace markup::style {

CSSAttribute::~CSSAttribute() = default;

String CSSAttribute::PropertyName() const {
    const CSSAttributeDef* property = css_->FindProperty(propertyId_);
    return property ? property->Name() : String();
}

CSSAttribute* CSSStringAttribute::Clone() const {
    return detail::CopyOf(*this);
}

CSSAttribute* CSSIdentAttribute::Clone() const {
    return detail::CopyOf(*this);
}

CSSAttribute* CSSURLAttribute::Clone() const {
    return detail::CopyOf(*this);
}

CSSAttribute* CSSUnknownAttribute::Clone() const {
    return detail::CopyOf(*this);
}

CSSAttribute* CSSWideKeywordAttribute::Clone() const {
    return detail::CopyOf(*this);
}

bool CSSWideKeywordAttribute::IsInitial() const {
    return String::CompareCase(Text(), String("initial"), false) == 0;
}

bool IsCSSWideKeyword(const String& text) {
    return String::CompareCase(text, String("inherit"), false) == 0 ||
           String::CompareCase(text, String("initial"), false) == 0;
}

bool IsCSSKeyword(const CSSDictionary& css, std::uint32_t propertyId, const String& text) {
    std::uint32_t keyword = 0;
    return css.GroupValue(keyword, propertyId, text) == kDict_Ok;
}

namespace {

// The properties whose keywords are colour names.
bool IsColourProperty(std::uint32_t id) {
    return id == 9 || id == 10 || id == 39 || (id >= 101 && id <= 104);
}

// The property whose number tokens are keywords (font weights).
constexpr std::uint32_t kFontWeight = 5;
// The property whose identifiers are names (font families).
constexpr std::uint32_t kFontFamily = 1;

std::unique_ptr<CSSAttribute> KindOfToken(std::uint32_t tokenType, std::uint32_t propertyId,
                                          const CSSDictionary& css) {
    switch (tokenType) {
        case kCSSIdentifier:
            if (propertyId == kFontFamily) return detail::Make<CSSIdentAttribute>(css);
            return detail::Make<CSSUnknownAttribute>(css);
        case kCSSString:
            return detail::Make<CSSStringAttribute>(css);
        case kCSSNumber:
            if (propertyId == kFontWeight) return detail::Make<CSSGroupAttribute>(css);
            return detail::Make<CSSNumberAttribute>(css);
        case kCSSPercentage:
            return detail::Make<CSSPercentAttribute>(css);
        case kCSSZero:
            return detail::Make<CSSZeroAttribute>(css);
        case kCSSURL:
            return detail::Make<CSSURLAttribute>(css);
        case kCSSRGB:
        case kCSSHexColour6:
        case kCSSHexColour3:
            return detail::Make<CSSColorAttribute>(css);
        default:
            if (tokenType >= kCSSPoints && tokenType <= kCSSExes) return detail::Make<CSSLengthAttribute>(css);
            return detail::Make<CSSUnknownAttribute>(css);
    }
}

}  // namespace

// A keyword is recognised by the group match alone: the format words of
// the dictionary are the token types a property admits, which the value
// classes read themselves.
std::unique_ptr<CSSAttribute> CreateCSSAttributeFromText(const String& text, std::uint32_t tokenType,
                                                         bool& recognised, std::uint32_t propertyId,
                                                         const CSSDictionary& css) {
    std::unique_ptr<CSSAttribute> value;
    if (IsCSSKeyword(css, propertyId, text)) {
        if (IsColourProperty(propertyId)) {
            value = detail::Make<CSSColorAttribute>(css);
        } else {
            value = detail::Make<CSSGroupAttribute>(css);
        }
    } else {
        value = KindOfToken(tokenType, propertyId, css);
    }
    // The property first: a colour keyword's word comes from the property's
    // group.
    value->SetPropertyId(propertyId);
    value->SetText(text);
    recognised = value->TypeCode() != kCSSUnknownValue;
    return value;
}

std::unique_ptr<CSSAttribute> CreateCSSAttributeFromToken(const CSSToken& token, bool& recognised,
                                                          std::uint32_t propertyId, const CSSDictionary& css) {
    return CreateCSSAttributeFromText(token.Text(), token.Type(), recognised, propertyId, css);
}

std::unique_ptr<CSSAttribute> CreateCSSAttribute(std::uint32_t propertyId, std::uint32_t typeCode,
                                                 const CSSDictionary& css) {
    std::unique_ptr<CSSAttribute> value;
    switch (typeCode) {
        case kCSSGroupValue: value = detail::Make<CSSGroupAttribute>(css); break;
        case kCSSLengthValue: value = detail::Make<CSSLengthAttribute>(css); break;
        case kCSSZeroValue: value = detail::Make<CSSZeroAttribute>(css); break;
        case kCSSPercentValue: value = detail::Make<CSSPercentAttribute>(css); break;
        case kCSSColourValue: value = detail::Make<CSSColorAttribute>(css); break;
        case kCSSURLValue: value = detail::Make<CSSURLAttribute>(css); break;
        case kCSSNumberValue: value = detail::Make<CSSNumberAttribute>(css); break;
        case kCSSStringValue: value = detail::Make<CSSStringAttribute>(css); break;
        case kCSSIdentValue: value = detail::Make<CSSIdentAttribute>(css); break;
        case kCSSUnknownValue: value = detail::Make<CSSUnknownAttribute>(css); break;
        case kCSSWideKeywordValue: value = detail::Make<CSSWideKeywordAttribute>(css); break;
        default: return nullptr;
    }
    value->SetPropertyId(propertyId);
    return value;
}

void GetCSSURLText(const CSSAttribute& value, String& out) {
    GetCSSURLText(value.Text(), out);
}

void GetCSSURLText(const String& text, String& out) {
    out.Empty();
    const std::int32_t open = text.Find('(');
    const std::int32_t close = text.ReverseFind(')');
    if (open < 0 || close <= open) return;
    out = text.Mid(static_cast<std::uint32_t>(open) + 1, static_cast<std::uint32_t>(close - open - 1));
    out.TrimLeft();
    out.TrimRight();
    for (char quote : {'"', '\''}) {
        char first = 0;
        if (out.GetAt(0, first) && first == quote) out.DeleteAt(0, 1);
    }
    for (char quote : {'"', '\''}) {
        char last = 0;
        if (out.Length() && out.GetAt(out.Length() - 1, last) && last == quote) out.Truncate(out.Length() - 1);
    }
    out.TrimLeft();
    out.TrimRight();
}

}  // namespace markup::style

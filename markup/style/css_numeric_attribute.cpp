// The numerical kinds: numbers, percentages, zeros and lengths.
#include "css_number.h"
#include "markup/style/css_attribute.h"
#include "markup/style/css_tokenizer.h"
#include "style_heap.h"

namespace markup::style {

double CSSNumericalAttribute::Number() const {
    std::uint32_t used = 0;
    return detail::ReadDecimal(Text(), used);
}

String CSSNumericalAttribute::NumberText() const {
    String text;
    text.Format("%g", Number());
    return text;
}

// The letters after the number as written: "12.50px" gives "px", where
// taking the formatted number ("12.5") out of the text would leave "0px".
String CSSNumericalAttribute::UnitText() const {
    std::uint32_t used = 0;
    detail::ReadDecimal(Text(), used);
    return Text().Mid(used);
}

CSSAttribute* CSSNumberAttribute::Clone() const {
    return detail::CopyOf(*this);
}

CSSAttribute* CSSPercentAttribute::Clone() const {
    return detail::CopyOf(*this);
}

CSSAttribute* CSSZeroAttribute::Clone() const {
    return detail::CopyOf(*this);
}

CSSAttribute* CSSLengthAttribute::Clone() const {
    return detail::CopyOf(*this);
}

namespace {

std::uint32_t UnitOfToken(std::uint32_t type) {
    switch (type) {
        case kCSSPercentage: return kCSSUnitPercent;
        case kCSSDegrees: return kCSSUnitDeg;
        case kCSSGrads: return kCSSUnitGrad;
        case kCSSRadians: return kCSSUnitRad;
        default:
            if (type >= kCSSPoints && type <= kCSSExes) return kCSSUnitPt + (type - kCSSPoints);
            return kCSSUnitUnknown;
    }
}

}  // namespace

void CSSLengthAttribute::SetText(const String& text) {
    CSSAttribute::SetText(text);
    CSSTokenizer tokenizer;
    Vector<CSSToken> tokens;
    tokenizer.Tokenize(text, 0, tokens);
    const CSSToken* first = tokens.At(0);
    unit_ = first ? UnitOfToken(first->Type()) : kCSSUnitUnknown;
}

}  // namespace markup::style

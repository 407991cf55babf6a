// Keyword values and colours: keyword ids and numbers from the property's
// group, colour words from "#" forms, rgb() forms and colour keywords.
#include <cstring>

#include "markup/style/css_attribute.h"
#include "markup/style/css_colours.h"
#include "platform/latin1_text.h"
#include "style_heap.h"

namespace markup::style {

namespace {

const AttributeTypeGroup::ValueUserPair* FindKeyword(const CSSDictionary& css, std::uint32_t propertyId,
                                                     const String& text) {
    const AttributeTypeGroup* group = nullptr;
    if (css.GroupType(group, propertyId) != kDict_Ok) return nullptr;
    std::uint32_t index = 0;
    if (group->Match(index, text, nullptr) != kDict_Ok) return nullptr;
    return group->PairAt(index);
}

std::uint32_t HexDigit(char c) {
    if (c >= '0' && c <= '9') return static_cast<std::uint32_t>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<std::uint32_t>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<std::uint32_t>(c - 'A' + 10);
    return 16;
}

std::uint32_t Word(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return red | (green << 8) | (blue << 16);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Reads the components of an rgb() form after its "(", up to the cut at
// the last ")": three integers, or three percentages when the text holds a
// "%", separated by commas. Blanks may stand around each component and
// comma; a fraction is cut off; a minus sign gives 0. Answers how many
// components were read before the first that does not fit.
int ReadComponents(const char* p, const char* end, bool percent, std::uint32_t (&out)[3]) {
    for (int i = 0; i < 3; ++i) {
        while (p < end && IsBlank(*p)) ++p;
        bool negative = false;
        if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
        if (p == end || *p < '0' || *p > '9') return i;
        std::uint32_t value = 0;
        for (; p < end && *p >= '0' && *p <= '9'; ++p) {
            if (value < 1000000) value = value * 10 + static_cast<std::uint32_t>(*p - '0');
        }
        if (p < end && *p == '.') {
            for (++p; p < end && *p >= '0' && *p <= '9'; ++p) {
            }
        }
        while (p < end && IsBlank(*p)) ++p;
        if (percent) {
            if (p == end || *p != '%') return i;
            ++p;
            value = value * 255 / 100;
        }
        out[i] = negative ? 0 : (value > 255 ? 255 : value);
        if (i < 2) {
            while (p < end && IsBlank(*p)) ++p;
            if (p == end || *p != ',') return i + 1;
            ++p;
        }
    }
    return 3;
}

// The position after "rgb(" in any letter case; -1 when the text has none.
std::int32_t AfterRGB(const String& text) {
    const char* p = text.Text();
    for (std::uint32_t i = 0; i + 4 <= text.Length(); ++i) {
        if (platform::Latin1Lower(static_cast<unsigned char>(p[i])) == 'r' &&
            platform::Latin1Lower(static_cast<unsigned char>(p[i + 1])) == 'g' &&
            platform::Latin1Lower(static_cast<unsigned char>(p[i + 2])) == 'b' && p[i + 3] == '(') {
            return static_cast<std::int32_t>(i + 4);
        }
    }
    return -1;
}

}  // namespace

CSSAttribute* CSSGroupAttribute::Clone() const {
    return detail::CopyOf(*this);
}

std::uint32_t CSSGroupAttribute::KeywordId() const {
    std::uint32_t id = 0;
    double number = 0.0;
    Keyword(id, number);
    return id;
}

double CSSGroupAttribute::KeywordNumber() const {
    std::uint32_t id = 0;
    double number = 0.0;
    Keyword(id, number);
    return number;
}

void CSSGroupAttribute::Keyword(std::uint32_t& id, double& number) const {
    const AttributeTypeGroup::ValueUserPair* pair = FindKeyword(Dictionary(), PropertyId(), Text());
    id = pair ? pair->valueId : 0;
    number = pair ? static_cast<double>(pair->userValue) : 0.0;
}

CSSAttribute* CSSColorAttribute::Clone() const {
    return detail::CopyOf(*this);
}

bool CSSColorAttribute::ThreeDigitWord(const String& text, std::uint32_t& word) {
    const char* p = text.Text();
    if (text.Length() != 4 || p[0] != '#') return false;
    std::uint32_t channel[3];
    for (int i = 0; i < 3; ++i) {
        const std::uint32_t digit = HexDigit(p[i + 1]);
        channel[i] = digit < 16 ? digit * 17 : 0;
    }
    word = Word(channel[0], channel[1], channel[2]);
    return true;
}

// One hexadecimal number whose high byte is red: the digits up to the
// first character that is none.
bool CSSColorAttribute::SixDigitWord(const String& text, std::uint32_t& word) {
    const char* p = text.Text();
    if (text.Length() != 7 || p[0] != '#') return false;
    std::uint32_t number = 0;
    for (int i = 1; i < 7 && HexDigit(p[i]) < 16; ++i) number = number * 16 + HexDigit(p[i]);
    word = Word((number >> 16) & 0xFF, (number >> 8) & 0xFF, number & 0xFF);
    return true;
}

std::uint32_t CSSColorAttribute::RGBWord(const String& text) {
    const std::int32_t start = AfterRGB(text);
    const std::int32_t close = text.ReverseFind(')');
    if (start < 0 || close < start) return 0;
    const char* begin = text.Text() + start;
    const char* end = text.Text() + close;
    const bool percent = std::memchr(begin, '%', static_cast<std::size_t>(end - begin)) != nullptr;
    std::uint32_t channel[3] = {0, 0, 0};
    if (ReadComponents(begin, end, percent, channel) < 3) return 0;
    return Word(channel[0], channel[1], channel[2]);
}

void CSSColorAttribute::SetText(const String& text) {
    CSSAttribute::SetText(text);
    alpha_ = 1.0;
    // The property's own keywords first: "transparent" and the system
    // colours keep their special words.
    if (!IsCSSKeyword(Dictionary(), PropertyId(), text)) {
        if (const std::optional<CSSColour> parsed = ParseCSSColour(std::string_view(text.Text(), text.Length()))) {
            colour_ = parsed->word;
            alpha_ = parsed->alpha;
            return;
        }
    }
    char first = 0;
    if (text.GetAt(0, first) && first == '#') {
        std::uint32_t word = 0;
        if (ThreeDigitWord(text, word) || SixDigitWord(text, word)) colour_ = word;
    } else if (AfterRGB(text) >= 0) {
        colour_ = RGBWord(text);
    } else {
        // A keyword's number is a signed word; transparent's top byte is all ones.
        colour_ = static_cast<std::uint32_t>(static_cast<std::int32_t>(KeywordNumber()));
    }
}

void CSSColorAttribute::ParseAndMark(const String& text) {
    SetText(text);
    parsed_ = 1;
}

}  // namespace markup::style

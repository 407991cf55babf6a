// Numbers and lengths of attribute values, read by the SVG number grammar
// with std::from_chars, so the process's locale never changes a value.
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "svgimport/values.h"

namespace SVG {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

size_t Digits(std::string_view text, size_t at) {
    size_t end = at;
    while (end < text.size() && IsDigit(text[end])) ++end;
    return end - at;
}

// The length of the number that starts the text, 0 when none does.
size_t NumberSpan(std::string_view text) {
    size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    const size_t whole = Digits(text, at);
    at += whole;
    size_t fraction = 0;
    if (at < text.size() && text[at] == '.') {
        fraction = Digits(text, at + 1);
        if (whole > 0 || fraction > 0) at += 1 + fraction;
    }
    if (whole == 0 && fraction == 0) return 0;
    // An exponent only with its digits: "5em" is 5 followed by a unit.
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        size_t e = at + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
        const size_t exponent = Digits(text, e);
        if (exponent > 0) at = e + exponent;
    }
    return at;
}

// Converts a span NumberSpan accepted. from_chars takes no leading "+".
template <typename Real>
Real Convert(std::string_view span) {
    std::string_view digits = span;
    const bool negative = !digits.empty() && digits.front() == '-';
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) digits.remove_prefix(1);
    Real value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        // Too large or too small for the type: a negative exponent means the
        // value was tiny.
        const size_t e = digits.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && e + 1 < digits.size() && digits[e + 1] == '-';
        value = tiny ? Real(0) : std::numeric_limits<Real>::max();
    } else if (error != std::errc()) {
        value = 0;
    }
    return negative ? -value : value;
}

}  // namespace

size_t ScanNumber(std::string_view text, double* value) {
    const size_t span = NumberSpan(text);
    if (span > 0 && value != nullptr) *value = Convert<double>(text.substr(0, span));
    return span;
}

WLength ScanLength(std::string_view text, size_t* consumed) {
    size_t at = 0;
    while (at < text.size() && IsWhiteSpace(text[at])) ++at;
    const size_t span = NumberSpan(text.substr(at));
    if (consumed != nullptr) *consumed = 0;
    if (span == 0) return WLength{0, unit::kNone};
    WLength length{static_cast<double>(Convert<float>(text.substr(at, span))), unit::kUser};
    at += span;
    const char first = at < text.size() ? text[at] : '\0';
    const char second = at + 1 < text.size() ? text[at + 1] : '\0';
    size_t unitLength = 2;
    switch (first) {
        case 'i':
            length.kind = second == 'n' ? unit::kIn : unit::kUser;
            break;
        case 'p':
            length.kind = second == 'x'   ? unit::kPx
                          : second == 't' ? unit::kPt
                          : second == 'c' ? unit::kPc
                                          : unit::kNone;
            break;
        case '%':
            length.kind = unit::kPercent;
            unitLength = 1;
            break;
        case 'm':
            length.kind = second == 'm' ? unit::kMm : unit::kUser;
            break;
        case 'c':
            length.kind = second == 'm' ? unit::kCm : unit::kUser;
            break;
        case 'e':
            length.kind = second == 'm' ? unit::kEm : second == 'x' ? unit::kEx : unit::kNone;
            break;
        default:
            length.kind = unit::kUser;
            break;
    }
    const bool unitFound = length.kind != unit::kUser && length.kind != unit::kNone;
    if (consumed != nullptr) *consumed = at + (unitFound ? unitLength : 0);
    return length;
}

WLength ParseLength(std::string_view text) {
    return ScanLength(text, nullptr);
}

std::array<WLength, 4> ParseNumberList(std::string_view text) {
    std::array<WLength, 4> numbers{};
    size_t at = 0;
    bool plain = true;
    for (WLength& number : numbers) {
        while (at < text.size() && (IsWhiteSpace(text[at]) || text[at] == ',')) ++at;
        size_t end = at;
        while (end < text.size() && !IsWhiteSpace(text[end]) && text[end] != ',') ++end;
        number = ParseLength(text.substr(at, end - at));
        plain = plain && number.kind == unit::kUser;
        at = end;
    }
    if (!plain) numbers.fill(WLength{0, unit::kNone});
    return numbers;
}

double RoundHalfAway(double v) {
    return v > 0 ? std::trunc(v + 0.5) : std::trunc(v - 0.5);
}

}  // namespace SVG

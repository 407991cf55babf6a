// Decimal numbers of CSS values: std::from_chars does the conversion, so no
// locale's decimal point is involved.
#include "css_number.h"

#include <charconv>
#include <cfloat>
#include <string>

namespace markup::style::detail {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

double ReadDecimal(const String& text, std::uint32_t& used) {
    const char* p = text.Text();
    const std::uint32_t length = text.Length();
    used = 0;
    std::uint32_t at = 0;
    while (at < length && IsSpace(p[at])) ++at;
    bool negative = false;
    if (at < length && (p[at] == '+' || p[at] == '-')) {
        negative = p[at] == '-';
        ++at;
        while (at < length && IsSpace(p[at])) ++at;
    }
    const std::uint32_t start = at;
    std::uint32_t digits = 0;
    while (at < length && IsDigit(p[at])) ++at, ++digits;
    if (at < length && p[at] == '.') {
        std::uint32_t fraction = at + 1;
        while (fraction < length && IsDigit(p[fraction])) ++fraction;
        digits += fraction - at - 1;
        // A point without digits after it belongs to the number only when
        // digits came before it, as in "5.".
        if (fraction > at + 1 || digits > 0) at = fraction;
    }
    if (digits == 0) return 0.0;
    if (at < length && (p[at] == 'e' || p[at] == 'E')) {
        std::uint32_t exponent = at + 1;
        if (exponent < length && (p[exponent] == '+' || p[exponent] == '-')) ++exponent;
        if (exponent < length && IsDigit(p[exponent])) {
            while (exponent < length && IsDigit(p[exponent])) ++exponent;
            at = exponent;
        }
    }
    used = at;
    double value = 0.0;
    const auto [end, error] = std::from_chars(p + start, p + at, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        // Too small gives 0; too large the largest finite value. An exponent
        // with a minus sign is the only way to be too small.
        const std::string written(p + start, p + at);
        const bool tiny = written.find("e-") != std::string::npos || written.find("E-") != std::string::npos;
        value = tiny ? 0.0 : DBL_MAX;
    } else if (error != std::errc()) {
        value = 0.0;
    }
    (void)end;
    return negative ? -value : value;
}

}  // namespace markup::style::detail

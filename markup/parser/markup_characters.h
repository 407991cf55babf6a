// The character classes of the markup tokenizer. They are fixed to ASCII so
// that the scan does not depend on the C library's locale.
#pragma once

namespace markup::detail {

// The C library's white space in the "C" locale.
constexpr bool IsSpace(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
// White space including the no-break space (0xA0).
constexpr bool IsSpaceOrNbsp(unsigned char c) {
    return IsSpace(c) || c == 0xA0;
}
constexpr bool IsAsciiAlnum(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
constexpr bool IsNameChar(unsigned char c) {
    return IsAsciiAlnum(c) || c == '.' || c == '_' || c == ':' || c == '?';
}
// Element and attribute names also take "-" ("font-face", "stroke-width").
constexpr bool IsTagNameChar(unsigned char c) {
    return IsNameChar(c) || c == '-';
}
constexpr bool IsEntityNameChar(unsigned char c) {
    return IsNameChar(c) || c == '&' || c == '#' || c == '-';
}
constexpr bool IsKeywordChar(unsigned char c) {
    return IsNameChar(c) || c == '[';
}

}  // namespace markup::detail

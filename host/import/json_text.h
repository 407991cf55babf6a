// Pieces of JSON text: strings escaped from UTF-8, Latin-1 and 16-bit text,
// and numbers written the shortest way that reads back the same.
#ifndef HOST_IMPORT_JSON_TEXT_H
#define HOST_IMPORT_JSON_TEXT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace host::import {

// A whole number as text.
inline std::string Int(int64_t v) {
    return std::to_string(v);
}

// A JSON string of UTF-8 text.
std::string JsonString(std::string_view utf8);
// UTF-8 of Latin-1 bytes (each byte one character).
std::string Latin1ToUtf8(std::string_view latin1);
// UTF-8 of 16-bit codes; a code of a surrogate pair half becomes U+FFFD and
// counts in `replaced`.
std::string Utf16ToUtf8(const uint16_t* text, size_t count, size_t* replaced = nullptr);
// The shortest decimal that reads back as the same double; integers without
// a fraction. Not-a-number and infinities become 0.
std::string JsonNumber(double value);

// The length of a zero-terminated 16-bit text, at most `limit`.
size_t WideLength(const uint16_t* text, size_t limit);

}  // namespace host::import

#endif  // HOST_IMPORT_JSON_TEXT_H

// Character references ("&#233;", "&#x201C;") and the text they stand for.
//
// An XML document's text is UTF-8, so every character a reference names is
// written as its UTF-8 bytes. An HTML document's text is ISO-8859-1: there
// a reference up to 255 is its byte and a larger one cannot be written.
#pragma once

#include <string>
#include <string_view>

namespace markup::detail {

// The code a reference's name ("#233", "#xE9", without "&" and ";")
// gives, or -1 when it is no character reference. Codes past U+10FFFF
// stay past it without overflowing.
long CharacterCode(std::string_view name);

// Appends the character to `out` and answers true, or answers false when
// the text cannot hold it (no character: 0, a surrogate, past U+10FFFF;
// in HTML text past 255).
bool AppendCharacter(long code, bool xml, std::string& out);

}  // namespace markup::detail

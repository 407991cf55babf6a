// The marker texts of numbered list items: decimal, letters and roman
// numerals, by the list-style keyword of the item.
#pragma once

#include <cstdint>

#include "markup/string.h"

namespace markup::style {

// Keywords of the list marker type (id 57) that number their items.
enum ListNumbering : std::uint32_t {
    kNumberDecimal = 284,
    kNumberLowerLetters = 316,
    kNumberLowerRoman = 318,
    kNumberUpperLetters = 387,
    kNumberUpperRoman = 389,
};

// Roman numerals; below 1 the text "0". Past 12 thousands the thousands are
// written as a number and the letter M ("13M"), then the rest below 1000.
String RomanNumeral(std::int32_t number, bool upper);

// Bijective base 26: 1 is "a", 26 "z", 27 "aa"; below 1 counts as 1.
String LetterNumeral(std::int32_t number, bool upper);

// The marker of item `number` for a numbering keyword, followed by ".";
// false (text untouched) for a keyword that does not number.
bool ListMarkerText(std::uint32_t keyword, std::int32_t number, String& text);

}  // namespace markup::style

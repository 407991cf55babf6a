// List numbering: roman numerals, letters and decimal markers.
#include "markup/style/list_numbering.h"

#include <cstdio>
#include <string>

namespace markup::style {

namespace {

// One decimal place with the letters for its one, five and ten.
void AppendPlace(std::string& text, int digit, char one, char five, char ten) {
    if (digit == 9) {
        text += one;
        text += ten;
        return;
    }
    if (digit >= 5) {
        text += five;
        digit -= 5;
    }
    if (digit == 4) {
        text += one;
        text += five;
        return;
    }
    text.append(static_cast<std::size_t>(digit), one);
}

}  // namespace

String RomanNumeral(std::int32_t number, bool upper) {
    if (number < 1) return String("0");
    const char* letters = upper ? "MDCLXVI" : "mdclxvi";
    std::string text;
    const std::int32_t thousands = number / 1000;
    if (thousands > 12) {
        text = std::to_string(thousands) + letters[0];
    } else {
        text.append(static_cast<std::size_t>(thousands), letters[0]);
    }
    const std::int32_t rest = number % 1000;
    AppendPlace(text, rest / 100, letters[2], letters[1], letters[0]);
    AppendPlace(text, rest / 10 % 10, letters[4], letters[3], letters[2]);
    AppendPlace(text, rest % 10, letters[6], letters[5], letters[4]);
    return String(text.c_str());
}

String LetterNumeral(std::int32_t number, bool upper) {
    std::uint32_t n = number < 1 ? 1u : static_cast<std::uint32_t>(number);
    std::string text;
    while (n != 0) {
        text.insert(text.begin(), static_cast<char>((upper ? 'A' : 'a') + (n - 1) % 26));
        n = (n - 1) / 26;
    }
    return String(text.c_str());
}

bool ListMarkerText(std::uint32_t keyword, std::int32_t number, String& text) {
    String marker;
    switch (keyword) {
        case kNumberDecimal: {
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(number));
            marker = buffer;
            break;
        }
        case kNumberLowerLetters: marker = LetterNumeral(number, false); break;
        case kNumberUpperLetters: marker = LetterNumeral(number, true); break;
        case kNumberLowerRoman: marker = RomanNumeral(number, false); break;
        case kNumberUpperRoman: marker = RomanNumeral(number, true); break;
        default: return false;
    }
    marker += ".";
    text = marker;
    return true;
}

}  // namespace markup::style

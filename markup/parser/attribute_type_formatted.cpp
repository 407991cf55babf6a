// AttributeTypeFormatted: colours and integers with their units, integer
// lists, and patterns checked through the dictionary.
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <new>

#include "markup/faults.h"
#include "markup/parser/attribute_def.h"
#include "markup/parser/attribute_type.h"
#include "markup/parser/dictionary.h"
#include "markup/parser/regexp.h"
#include "record_io.h"

namespace markup {

using namespace detail;

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// strtol at the 32-bit bounds on every platform: a 64-bit long would keep
// values a 32-bit one saturates. end is where reading stopped.
std::int32_t ReadLong(const char* text, int base, const char*& end) {
    char* stop = nullptr;
    errno = 0;
    const long value = std::strtol(text, &stop, base);
    end = stop;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

// A decimal integer from text: kDict_Missing without digits, kDict_Overflow
// at a 32-bit bound (the number kept).
DictStatus ReadDecimal(const char* text, std::int32_t& number, const char*& end) {
    number = ReadLong(text, 10, end);
    if (end == text) {
        number = 0;
        return kDict_Missing;
    }
    return number == INT32_MAX || number == INT32_MIN ? kDict_Overflow : kDict_Ok;
}

// "#rrggbb" with red in the low byte: red comes from the first two digits.
std::int32_t ColourFromHex(const char* text) {
    if (*text == '#') ++text;
    const char* end = nullptr;
    const auto v = static_cast<std::uint32_t>(ReadLong(text, 16, end));
    const std::uint32_t red = (v >> 16) & 0xFF;
    const std::uint32_t green = (v >> 8) & 0xFF;
    const std::uint32_t blue = v & 0xFF;
    return static_cast<std::int32_t>(red | green << 8 | blue << 16);
}

String ColourText(std::uint32_t colour) {
    String text;
    text.Format("#%02x%02x%02x", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    return text;
}

// The text of the number under one format word; false when the word does
// not take the number.
bool FormatWithWord(std::uint32_t word, std::int32_t number, String& text) {
    const char* suffix = nullptr;
    switch (word) {
        case kFormatColour:
            if (number < 0 || number > 0xFFFFFF) return false;
            text = ColourText(static_cast<std::uint32_t>(number));
            return true;
        case kFormatEn:
            if (number < 0) return false;
            suffix = "en";
            break;
        case kFormatNonNegative:
        case kFormatIntegerList:
            if (number < 0) return false;
            suffix = "";
            break;
        case kFormatPercent:
            if (number < 0) return false;
            suffix = "%";
            break;
        case kFormatPixels:
            if (number < 0) return false;
            suffix = "pixels";
            break;
        case kFormatNegative:
            if (number >= 0) return false;
            suffix = "";
            break;
        case kFormatNegativePercent:
            if (number >= 0) return false;
            suffix = "%";
            break;
        case kFormatMinusOne:
            if (number != -1) return false;
            text = "-1";
            return true;
        default:
            return false;
    }
    text.Format("%d%s", static_cast<int>(number), suffix);
    return true;
}

// One number from the text under a format word: word 0 reads nothing, the
// colour word reads "#rrggbb", every other word a decimal with an optional
// leading "-" (blanks after it skipped).
DictStatus ParseWithWord(std::uint32_t word, std::int32_t& number, const String& text) {
    number = 0;
    if (word == 0) return kDict_NoMatch;
    if (word == kFormatColour) {
        number = ColourFromHex(text.Text());
        return kDict_Ok;
    }
    const char* p = text.Text();
    bool negative = false;
    if (*p == '-') {
        negative = true;
        ++p;
        while (IsBlank(*p)) ++p;
        if (*p == '\0') return kDict_NoMatch;
    }
    const char* end = nullptr;
    const DictStatus status = ReadDecimal(p, number, end);
    // In 64 bits, so that the negated lower bound stays at the upper one.
    if (negative) {
        const std::int64_t negated = -static_cast<std::int64_t>(number);
        number = negated > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(negated);
    }
    return status;
}

void Append(NumberList& numbers, std::int32_t number) {
    try {
        numbers.push_back(number);
    } catch (const std::bad_alloc&) {
        throw MemoryAllocationFault();
    }
}

const DictionaryEditor* EditorOf(const Dictionary* dictionary) {
    return dictionary ? dictionary->Editor() : nullptr;
}

}  // namespace

void AttributeTypeFormatted::Assign(const AttributeType& other) {
    AssignFormatted(other);
}

void AttributeTypeFormatted::AssignFormatted(const AttributeType& other) {
    if (&other == this) return;
    formats_.Clear();
    format_.Empty();
    if (const auto* formatted = dynamic_cast<const AttributeTypeFormatted*>(&other)) {
        for (std::uint32_t word : formatted->formats_) formats_.Add(word);
        format_ = formatted->format_;
    }
}

bool AttributeTypeFormatted::Check(const String& value, const Dictionary* dictionary) const {
    // A formatted type that names no format sets no bounds on its values:
    // a DTD's CDATA, ID, NMTOKEN and the like compile to one. The formatted
    // part of a group-formatted type still adds nothing to its keywords.
    if (formats_.IsEmpty()) return Kind() == kTypeFormatted;
    for (std::uint32_t word : formats_) {
        if (CheckFormat(EditorOf(dictionary), word, value)) return true;
    }
    return false;
}

DictStatus AttributeTypeFormatted::Format(String& text, std::int32_t number) const {
    text = format_;
    for (std::uint32_t word : formats_) {
        if (FormatWithWord(word, number, text)) return kDict_Ok;
    }
    return kDict_NoMatch;
}

DictStatus AttributeTypeFormatted::ParseWithDictionary(std::int32_t& number, const String& text,
                                                       const Dictionary* dictionary) const {
    return Parse(number, text, dictionary);
}

DictStatus AttributeTypeFormatted::Parse(std::int32_t& number, const String& text, const Dictionary*) const {
    return ParseWithWord(formats_.IsEmpty() ? 0 : formats_[0], number, text);
}

DictStatus AttributeTypeFormatted::FormatList(String& text, const NumberList& numbers) const {
    if (numbers.size() == 1) return Format(text, numbers[0]);
    text = format_;
    for (std::uint32_t word : formats_) {
        if (word == kFormatColour && numbers.size() == 3) {
            text = ColourText((static_cast<std::uint32_t>(numbers[0]) & 0xFF) |
                              (static_cast<std::uint32_t>(numbers[1]) & 0xFF) << 8 |
                              (static_cast<std::uint32_t>(numbers[2]) & 0xFF) << 16);
            return kDict_Ok;
        }
        if (word == kFormatIntegerList && !numbers.empty()) {
            String joined;
            for (std::size_t i = 0; i < numbers.size(); ++i) {
                String one;
                one.Format(i == 0 ? "%d" : ",%d", static_cast<int>(numbers[i]));
                joined += one;
            }
            text = joined;
            return kDict_Ok;
        }
    }
    return kDict_NoMatch;
}

DictStatus AttributeTypeFormatted::ParseList(NumberList& numbers, const String& text,
                                             const Dictionary* dictionary) const {
    std::uint32_t chosen = 0;
    for (std::uint32_t word : formats_) {
        if (CheckFormat(EditorOf(dictionary), word, text)) {
            chosen = word;
            break;
        }
    }
    if (chosen == kFormatIntegerList) {
        // Decimal numbers, one separating character between them.
        const char* p = text.Text();
        for (;;) {
            std::int32_t number = 0;
            const char* end = nullptr;
            const DictStatus status = ReadDecimal(p, number, end);
            if (status != kDict_Ok) return status;
            Append(numbers, number);
            if (*end == '\0') return kDict_Ok;
            p = end + 1;
        }
    }
    std::int32_t number = 0;
    const DictStatus status = ParseWithWord(chosen, number, text);
    if (status != kDict_Ok) return status;
    if (chosen == kFormatColour) {
        const auto colour = static_cast<std::uint32_t>(number);
        Append(numbers, static_cast<std::int32_t>(colour & 0xFF));
        Append(numbers, static_cast<std::int32_t>((colour >> 8) & 0xFF));
        Append(numbers, static_cast<std::int32_t>((colour >> 16) & 0xFF));
    } else {
        Append(numbers, number);
    }
    return kDict_Ok;
}

DictStatus AttributeTypeFormatted::DefaultText(String& text) const {
    if (!Owner() || !Owner()->HasDefault()) return kDict_Missing;
    text = format_;
    return kDict_Ok;
}

void AttributeTypeFormatted::ReadFields(InStream& stream) {
    formats_.Clear();
    format_.Empty();
    const std::uint32_t count = ReadWord(stream);
    detail::CheckCount(stream, count, 4);
    for (std::uint32_t i = 0; i < count; ++i) formats_.Add(ReadWord(stream));
    ReadText(stream, format_);
}

void AttributeTypeFormatted::WriteFields(OutStream& stream) const {
    WriteWord(stream, formats_.Count());
    for (std::uint32_t word : formats_) WriteWord(stream, word);
    WriteText(stream, format_);
}

}  // namespace markup

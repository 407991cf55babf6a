// The byte runs found eight at a time against their one-byte definitions,
// and the wide copy built on them against the characters it is made of, at
// every offset and length around a word's width.
#include "byte_runs.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "svgimport/wstring.h"

namespace {

using namespace SVG::detail;

size_t AsciiRunByBytes(const std::string& s, size_t from) {
    size_t i = from;
    while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80) ++i;
    return i - from;
}

size_t PrintableRunByBytes(const std::string& s, size_t from) {
    size_t i = from;
    while (i < s.size() && static_cast<unsigned char>(s[i]) > 0x20) ++i;
    return i - from;
}

size_t StartsByBytes(const std::string& s, size_t from) {
    size_t n = 0;
    for (size_t i = from; i < s.size(); ++i) n += (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80;
    return n;
}

// Bytes drawn mostly from one class, so that long runs and their ends both
// occur: plain letters, blanks and controls, high bytes.
std::string RandomBytes(std::mt19937& random, size_t length) {
    static const std::string kinds[] = {"abcXYZ09~!", " \t\n\r\x01\x1F\x20",
                                        "\x80\xBF\xC3\xE2\xF0\xFF\xA9\x21"};
    std::string s;
    size_t kind = 0;
    for (size_t i = 0; i < length; ++i) {
        if (random() % 11 == 0) kind = random() % 3;
        const std::string& from = kinds[kind == 0 || random() % 5 != 0 ? kind : random() % 3];
        s += from[random() % from.size()];
    }
    return s;
}

TEST(ByteRuns, AgreeWithTheirDefinitionAtEveryOffset) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        const std::string s = RandomBytes(random, random() % 70);
        for (size_t from = 0; from <= s.size(); ++from) {
            const char* p = s.data() + from;
            const size_t n = s.size() - from;
            ASSERT_EQ(AsciiRun(p, n), AsciiRunByBytes(s, from)) << round << " " << from;
            ASSERT_EQ(PrintableRun(p, n), PrintableRunByBytes(s, from)) << round << " " << from;
            ASSERT_EQ(CountSequenceStarts(p, n), StartsByBytes(s, from)) << round << " " << from;
        }
    }
}

// Characters whose bytes stand alone in any order: the wide copy of their
// concatenation is the concatenation of their units.
TEST(ByteRuns, WideCopyOfLongMixedTexts) {
    const std::vector<std::pair<std::string, std::u16string>> characters = {
        {"a", u"a"},
        {" ", u" "},
        {"Zebra crossing", u"Zebra crossing"},
        {"\xC3\xA9", u"\u00E9"},
        {"\xE2\x82\xAC", u"\u20AC"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {"\xE9", u"\u00E9"},  // no UTF-8: an ISO-8859-1 character
    };
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        std::string text;
        std::u16string wide;
        for (size_t count = random() % 60; count > 0; --count) {
            const auto& [bytes, units] = characters[random() % characters.size()];
            text += bytes;
            wide += units;
        }
        ASSERT_EQ(SVG::WideOf(text), wide) << round;
    }
}

}  // namespace

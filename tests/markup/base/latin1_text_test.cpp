// The platform's Latin-1 case mapping and compares.
#include "platform/latin1_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace platform {
namespace {

TEST(Latin1TextTest, CaseMappingCoversAccentedLetters) {
    for (unsigned c = 0; c < 256; ++c) {
        const unsigned char b = static_cast<unsigned char>(c);
        const bool upper = (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
        const bool lower = (c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7);
        EXPECT_EQ(Latin1Lower(b), upper ? c + 0x20 : c) << c;
        EXPECT_EQ(Latin1Upper(b), lower ? c - 0x20 : c) << c;
    }
    EXPECT_EQ(Latin1Upper(0xFF), 0xFF);  // y with diaeresis has no Latin-1 capital
    EXPECT_EQ(Latin1Upper(0xDF), 0xDF);  // nor has sharp s
}

TEST(Latin1TextTest, InPlaceConversions) {
    std::string text = "Caf\xE9 \xC9t\xE9 42!";
    EXPECT_EQ(CharUpperA(text.data()), text.data());
    EXPECT_EQ(text, "CAF\xC9 \xC9T\xC9 42!");
    CharLowerA(text.data());
    EXPECT_EQ(text, "caf\xE9 \xE9t\xE9 42!");
    EXPECT_EQ(CharUpperA(nullptr), nullptr);
}

TEST(Latin1TextTest, ComparesIgnoreTheProcessLocale) {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    std::setlocale(LC_ALL, "tr_TR.UTF-8");  // where the C library would fold "I" differently
    EXPECT_EQ(lstrcmpiA("TITLE", "title"), 0);
    EXPECT_EQ(lstrcmpiA("\xC9"
                        "COLE",
                        "\xE9"
                        "cole"),
              0);
    EXPECT_LT(lstrcmpA("Z", "a"), 0);     // byte order
    EXPECT_GT(lstrcmpA("\xE9", "z"), 0);  // bytes compare unsigned
    EXPECT_LT(lstrcmpiA("abc", "ABD"), 0);
    EXPECT_GT(lstrcmpA("abc", "ab"), 0);
    EXPECT_EQ(lstrcmpA(nullptr, ""), 0);
    EXPECT_LT(lstrcmpiA(nullptr, "a"), 0);
    std::setlocale(LC_ALL, saved.c_str());
}

}  // namespace
}  // namespace platform

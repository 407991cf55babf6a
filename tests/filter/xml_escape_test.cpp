// Escaping of host texts for attributes, character data and CDATA.
#include "xml_escape.h"

#include <gtest/gtest.h>

namespace svgf {
namespace {

TEST(XmlEscape, AttributeTexts) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"Layer 1", "Layer 1"},
        {"a&b", "a&amp;b"},
        {"<x>", "&lt;x&gt;"},
        {"say \"hi\"", "say &quot;hi&quot;"},
        {"it's", "it's"},
        {"tab\there\r\n", "tab&#9;here&#13;&#10;"},
        // Control codes XML cannot carry, not even as references.
        {std::string("nul\0x", 5), "nul&#65533;x"},
        {"T\x01\x1F", "T&#65533;&#65533;"},
        {"caf\xE9", "caf\xE9"},
    };
    for (const auto& c : cases) EXPECT_EQ(EscapeXmlAttribute(c.in), c.out) << c.in;
}

TEST(XmlEscape, CharacterCodes) {
    const struct {
        uint32_t code;
        const char* out;
    } cases[] = {{'A', "A"},        {'&', "&amp;"},   {'<', "&lt;"},  {'>', "&gt;"},
                 {'"', "&quot;"},   {'\'', "&apos;"}, {0xE9, "\xE9"}, {0x20AC, "&#8364;"},
                 {0x100, "&#256;"}, {'\t', "&#9;"},   {'\n', "&#10;"},
                 // What XML cannot carry: the replacement character instead.
                 {0, "&#65533;"}, {0x1F, "&#65533;"}, {0xD800, "&#65533;"}, {0xDFFF, "&#65533;"},
                 {0xFFFE, "&#65533;"}, {0xFFFF, "&#65533;"}};
    for (const auto& c : cases) {
        std::string out;
        AppendXmlCharacter(out, c.code);
        EXPECT_EQ(out, c.out) << c.code;
    }
}

TEST(XmlEscape, CdataEndIsSplit) {
    EXPECT_EQ(EscapeCdata(".a {b}"), ".a {b}");
    EXPECT_EQ(EscapeCdata("x]]>y]]>"), "x]]]]><![CDATA[>y]]]]><![CDATA[>");
    // The section holds CSS: a byte XML cannot carry becomes a CSS escape.
    EXPECT_EQ(EscapeCdata(std::string("font-family:a\x01\0b", 16)), "font-family:a\\FFFD \\FFFD b");
}

}  // namespace
}  // namespace svgf

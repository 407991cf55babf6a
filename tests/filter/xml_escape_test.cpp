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
        {std::string("nul\0x", 5), "nul&#0;x"},
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
                 {0x100, "&#256;"}, {0, "&#0;"},      {0x1F, "&#31;"}};
    for (const auto& c : cases) {
        std::string out;
        AppendXmlCharacter(out, c.code);
        EXPECT_EQ(out, c.out) << c.code;
    }
}

TEST(XmlEscape, CdataEndIsSplit) {
    EXPECT_EQ(EscapeCdata(".a {b}"), ".a {b}");
    EXPECT_EQ(EscapeCdata("x]]>y]]>"), "x]]]]><![CDATA[>y]]]]><![CDATA[>");
}

}  // namespace
}  // namespace svgf

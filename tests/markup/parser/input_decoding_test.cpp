// The document's encoding: declared encodings and byte-order marks become
// UTF-8 text, in whatever pieces the stream gives them; character
// references name characters in the document's text.
#include <gtest/gtest.h>

#include <string>

#include "markup/parser/input_decoder.h"
#include "token_fixtures.h"

namespace markup {
namespace {

using markup_test::FreshRegistry;
using markup_test::TokenizerRig;

// The text of every text token of a document.
std::string TextOf(const std::string& bytes, bool xml, std::uint32_t piece) {
    auto dictionary = markup_test::BuildOpenDictionary();
    TokenizerRig rig(bytes, dictionary.get(), xml, piece);
    std::string text;
    while (Token* token = rig.Next()) {
        if (token->typeId == kKindText) text.append(token->text.Text(), token->text.Length());
    }
    return text;
}

std::string Utf16(const std::u16string& text, bool little) {
    std::string bytes;
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += little ? low : high;
        bytes += little ? high : low;
    }
    return bytes;
}

struct DecodingCase {
    const char* name;
    std::string bytes;
    bool xml;
    std::string text;  // UTF-8
};

class DecodingTest : public testing::TestWithParam<DecodingCase> {};

TEST_P(DecodingTest, GivesUtf8InAnyPieces) {
    FreshRegistry registry;
    const DecodingCase& c = GetParam();
    // Pieces of one and three bytes cut characters and the declaration.
    for (const std::uint32_t piece : {1u << 20, 1u, 3u}) {
        EXPECT_EQ(TextOf(c.bytes, c.xml, piece), c.text) << "pieces of " << piece;
    }
}

const std::string kDeclared = "<?xml version=\"1.0\" encoding=";

INSTANTIATE_TEST_SUITE_P(
    Documents, DecodingTest,
    testing::Values(
        DecodingCase{"undeclared_is_utf8", "<t>caf\xC3\xA9 \xE2\x80\x9C</t>", true, "caf\xC3\xA9 \xE2\x80\x9C"},
        DecodingCase{"utf8_mark_dropped", "\xEF\xBB\xBF<t>\xC3\xA9</t>", true, "\xC3\xA9"},
        DecodingCase{"latin1", kDeclared + "\"iso-8859-1\"?><t>caf\xE9</t>", true, "caf\xC3\xA9"},
        DecodingCase{"windows_1252", kDeclared + "'Windows-1252' ?><t>\x93" "a\x94 \x96 \x80</t>", true,
                     "\xE2\x80\x9C" "a\xE2\x80\x9D \xE2\x80\x93 \xE2\x82\xAC"},
        DecodingCase{"iso_8859_2", kDeclared + "\"ISO-8859-2\"?><t>\xB1\xE6</t>", true, "\xC4\x85\xC4\x87"},
        DecodingCase{"windows_1251", kDeclared + "\"windows-1251\"?><t>\xCF\xF0\xE8</t>", true,
                     "\xD0\x9F\xD1\x80\xD0\xB8"},
        DecodingCase{"utf16_le_mark", "\xFF\xFE" + Utf16(u"<t>\u201Cx\u00E9</t>", true), true,
                     "\xE2\x80\x9Cx\xC3\xA9"},
        DecodingCase{"utf16_be_mark", "\xFE\xFF" + Utf16(u"<t>\u201Cx\u00E9</t>", false), true,
                     "\xE2\x80\x9Cx\xC3\xA9"},
        DecodingCase{"utf16_le_declared", Utf16(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><t>\u0416</t>", true),
                     true, "\xD0\x96"},
        DecodingCase{"utf16_surrogate_pair", "\xFF\xFE" + Utf16(u"<t>\U0001F600</t>", true), true,
                     "\xF0\x9F\x98\x80"},
        // Bytes the encoding does not define, and an unknown name.
        DecodingCase{"undefined_byte", kDeclared + "\"windows-1252\"?><t>a\x81z</t>", true, "a\xEF\xBF\xBDz"},
        DecodingCase{"unknown_encoding", kDeclared + "\"no-such-code\"?><t>\xE9</t>", true, "\xE9"},
        DecodingCase{"utf16_named_in_8bit_text", kDeclared + "\"utf-16\"?><t>\xC3\xA9</t>", true, "\xC3\xA9"},
        // Character references: UTF-8 in XML, up to 255 in HTML.
        DecodingCase{"references_xml", "<t>&#8220;&#x20AC;&#233;&#x1F600;&#65;</t>", true,
                     "\xE2\x80\x9C\xE2\x82\xAC\xC3\xA9\xF0\x9F\x98\x80" "A"},
        DecodingCase{"references_beyond_unicode_stay", "<t>&#x110000;&#xD800;&#0;</t>", true,
                     "&#x110000;&#xD800;&#0;"},
        DecodingCase{"references_html", "<p>&#233;&#8220;</p>", false, "\xE9&#8220;"}),
    [](const testing::TestParamInfo<DecodingCase>& info) { return std::string(info.param.name); });

TEST(SniffEncoding, NamesWhatTheFirstBytesSay) {
    EXPECT_EQ(detail::SniffEncoding("<?xml version='1.0' encoding = \"KOI8-R\"?>"), "koi8-r");
    EXPECT_EQ(detail::SniffEncoding("<?xml version='1.0'?><t encoding='koi8-r'/>"), "");
    EXPECT_EQ(detail::SniffEncoding("<?xmlfoo encoding='koi8-r'?>"), "");
    EXPECT_EQ(detail::SniffEncoding("<?xml version='1.0' encoding='UTF-8'?>"), "");
    EXPECT_EQ(detail::SniffEncoding(std::string("<\0?\0", 4)), "UTF-16LE");
    EXPECT_EQ(detail::SniffEncoding(std::string("\0<\0?", 4)), "UTF-16BE");
}

}  // namespace
}  // namespace markup

// Escaping of host-supplied text (names, links, file names, characters) on
// its way into the document's markup.
#ifndef SVGFILTER_XML_ESCAPE_H
#define SVGFILTER_XML_ESCAPE_H

#include <cstdint>
#include <string>
#include <string_view>

namespace svgf {

// The character XML writes in place of one it cannot carry.
inline constexpr uint32_t kReplacementCharacter = 0xFFFD;

// Whether XML can carry the character at all, as text or as a reference:
// not the control codes other than tab, line feed and carriage return, not
// the surrogates (halves of a pair, never characters), not U+FFFE or U+FFFF.
bool XmlCarries(uint32_t code);

// Appends one character code as document text: the special characters
// & < > " ' as entities, tab, line feed, carriage return and codes above 255
// (beyond the document's 8-bit encoding) as "&#N;", a character XML cannot
// carry as the replacement character's reference, any other code as its byte.
void AppendXmlCharacter(std::string& out, uint32_t code);

// The 8-bit text made safe inside a double-quoted attribute: & < > " become
// entities, tab, line feed and carriage return "&#N;" (so they survive
// attribute normalisation) and the other control bytes the replacement
// character; ordinary text comes back unchanged.
std::string EscapeXmlAttribute(std::string_view text);

// Text for a CDATA section: a "]]>" inside it would end the section early,
// so it is split across two sections. The section's text is CSS: a control
// byte XML cannot carry is written as the CSS escape of the replacement
// character.
std::string EscapeCdata(std::string_view text);

}  // namespace svgf

#endif  // SVGFILTER_XML_ESCAPE_H

// Escaping of host-supplied text (names, links, file names, characters) on
// its way into the document's markup.
#ifndef SVGFILTER_XML_ESCAPE_H
#define SVGFILTER_XML_ESCAPE_H

#include <cstdint>
#include <string>
#include <string_view>

namespace svgf {

// Appends one character code as document text: the special characters
// & < > " ' as entities, codes above 255 (beyond the document's 8-bit
// encoding) and control codes as "&#N;", any other code as its byte.
void AppendXmlCharacter(std::string& out, uint32_t code);

// The 8-bit text made safe inside a double-quoted attribute: & < > " become
// entities and control bytes "&#N;" (so tabs and line ends survive attribute
// normalisation); ordinary text comes back unchanged.
std::string EscapeXmlAttribute(std::string_view text);

// Text for a CDATA section: a "]]>" inside it would end the section early,
// so it is split across two sections.
std::string EscapeCdata(std::string_view text);

}  // namespace svgf

#endif  // SVGFILTER_XML_ESCAPE_H

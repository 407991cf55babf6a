// The characters of a text run on their way into the document: the host's
// typographic quotes, the all-capitals style and XML escaping.
#ifndef SVGFILTER_TEXT_MARKUP_H
#define SVGFILTER_TEXT_MARKUP_H

#include <cstdint>
#include <string>
#include <vector>

namespace svgf {

// Replaces, everywhere in the 8-bit text and in this order, & < > ' and the
// quotation mark by their entities. The ampersand goes first so that the
// entities the later steps insert are not escaped again.
void EscapeXmlText(std::string& text);

// The host's curly quotes (0x91 to 0x94) as the plain apostrophe and
// quotation mark; every other code unchanged.
uint16_t PlainQuote(uint16_t code);

// The capital of a letter of the document's character set (a-z and the
// Latin-1 small letters; y with diaeresis becomes U+0178); anything else
// unchanged.
uint16_t CapitalOf(uint16_t code);

// Codes as document text: codes the 8-bit encoding carries as bytes,
// escaped; codes above 255 (a surrogate pair as the one character it makes)
// and tab, line feed and carriage return as "&#N;", so that none loses its
// high byte; characters XML cannot carry as the replacement character.
std::string TextMarkup(const std::vector<uint16_t>& codes);

}  // namespace svgf

#endif  // SVGFILTER_TEXT_MARKUP_H

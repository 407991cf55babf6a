// Where a long CSS text may be cut into pieces that the scanner reads one
// after another with the tokens it would make of the whole text, so that a
// style sheet never holds the tokens of its whole text at once.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "markup/string.h"

namespace markup::style {

class CSSTokenizer;

// Offsets just after a "}" that closes a top-level block, outside strings,
// comments and url() forms, each at least `minPiece` bytes after the one
// before (and the text's start). None for a text with an at-rule, an
// escape, a "<" (comment markers) or an end character; none after a
// construct whose end is in doubt.
std::vector<std::uint32_t> CSSTextCuts(std::string_view text, std::uint32_t minPiece);

// The same found by the scanner itself, for the texts CSSTextCuts leaves
// whole: offsets just after a "}" token that closes a top-level block (a
// "@media" block whose rules apply counts as one), each at least
// `minPiece` bytes after the one before. None just before "@import",
// which a text's start reads apart, and none after an end character
// inside the text.
std::vector<std::uint32_t> CSSScannedCuts(const String& text, std::uint32_t minPiece, CSSTokenizer& scanner);

// The cuts of a text to read it in pieces: CSSTextCuts' where its quick
// reading follows the scanner, else the scanner's own.
std::vector<std::uint32_t> CSSPieceCuts(const String& text, std::uint32_t minPiece, CSSTokenizer& scanner);

}  // namespace markup::style

// Where a long CSS text may be cut into pieces that the scanner reads one
// after another with the tokens it would make of the whole text, so that a
// style sheet never holds the tokens of its whole text at once.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace markup::style {

// Offsets just after a "}" that closes a top-level block, outside strings,
// comments and url() forms, each at least `minPiece` bytes after the one
// before (and the text's start). None for a text with an at-rule, an
// escape, a "<" (comment markers) or an end character; none after a
// construct whose end is in doubt.
std::vector<std::uint32_t> CSSTextCuts(std::string_view text, std::uint32_t minPiece);

}  // namespace markup::style

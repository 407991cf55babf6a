// The declaration parser: declaration blocks, single declarations and the
// value readers, which read a property's values by the reading kind its
// CSS dictionary definition gives (word A): plain values, a family list,
// two positions, four sides, the all-sides border, or member shorthands
// whose values are spread over their member properties.
//
// The parsers read through a cursor and mark what they used; names the
// dictionary lacks, a missing ":" and declarations without an admitted
// value are dropped silently, and parsing goes on after the next ";".
#pragma once

#include <cstdint>
#include <memory>

#include "markup/containers.h"
#include "markup/parser/css_dictionary.h"
#include "markup/style/css_element.h"
#include "markup/style/css_token_source.h"

namespace markup::style {

// The reading kinds of word A.
enum CSSReadingKind : std::uint32_t {
    kCSSReadPlain = 0,
    kCSSReadFamilyList = 2,
    kCSSReadTwoPositions = 4,
    kCSSReadPlainList = 6,
    kCSSReadMarginSides = 7,
    kCSSReadPaddingSides = 8,
    kCSSReadBorderWidthSides = 9,
    kCSSReadBorderColourSides = 10,
    kCSSReadBorderStyleSides = 11,
    kCSSReadBorder = 16,
    kCSSReadSameForMembers = 18,  // one value, given to each member alike
};

// The generic family a family list's keyword is moved to.
inline constexpr std::uint32_t kCSSGenericFamily = 111;

// Reads declarations up to the "}" or the end token that closes the block
// and appends the properties made.
void ParseCSSDeclarations(CSSTokenSource& cursor, const CSSDictionary& css, Vector<CSSProperty>& out);
// One declaration at the cursor's current significant token; null when
// none is made.
std::unique_ptr<CSSProperty> ParseCSSProperty(CSSTokenSource& cursor, const CSSDictionary& css);
// The values of one property up to the declaration's end (";", "}", the
// end token or "!important"), appended to `out`.
void ReadCSSValues(CSSTokenSource& cursor, const CSSDictionary& css, std::uint32_t propertyId,
                   Vector<CSSValue>& out);

// Whether the property admits a token of that type: identifiers for a
// property with keywords, the format words' token types for one with
// formats.
bool CSSPropertyAdmits(const CSSDictionary& css, std::uint32_t propertyId, std::uint32_t tokenType);

}  // namespace markup::style

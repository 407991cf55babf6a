// The per-character values of a text: the x, y, dx, dy and rotate lists
// of the text and of its tspan and tref elements, each value standing for
// one character of its element's content, the nearest element with a value
// for a character giving it.
#ifndef SVGIMPORT_TEXT_POSITIONS_H
#define SVGIMPORT_TEXT_POSITIONS_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "svgimport/values.h"

namespace SVG::detail {

class Attributes;

// What one character is given: absolute coordinates, shifts, its turn.
struct CharacterValues {
    std::optional<WLength> x, y, dx, dy;
    std::optional<double> rotate;  // degrees
};

class TextPositions {
  public:
    static constexpr uint32_t kNone = UINT32_MAX;

    // An element inside `parent` (kNone for the text) whose characters are
    // the pieces from `firstPiece` on: the owner its characters take their
    // values from, `parent` itself when it has none of the lists.
    uint32_t Open(const Attributes& attributes, uint32_t parent, size_t firstPiece);
    // The pieces before `endPiece` are the element's.
    void Close(uint32_t owner, size_t endPiece);

    // `pieceStarts` holds the index of each piece's first character once
    // the spaces are arranged, and the count of all of them last. The
    // lists are read here, as many values as their element has characters.
    void Count(const std::vector<uint64_t>& pieceStarts);

    // No element of the text has any of the lists.
    bool Empty() const { return owners_.empty(); }

    // The values of the character at `index` (counted over the whole text)
    // whose innermost owner is `owner`; asked in increasing order.
    CharacterValues At(uint32_t owner, uint64_t index);

  private:
    enum List { kX, kY, kDx, kDy, kRotate, kLists };
    struct Owner {
        uint32_t parent = kNone;
        // The nearest of this owner and its ancestors whose lists still
        // hold values (found lazily, shortened as lists run out).
        uint32_t live = kNone;
        uint32_t turning = kNone;  // the nearest owner with a rotate list
        size_t firstPiece = 0, endPiece = 0;
        uint64_t first = 0, end = 0;
        std::string written[kLists];
        std::vector<WLength> lengths[kDy + 1];
        std::vector<double> angles;
        size_t longest = 0;  // of the four lists of lengths
    };

    bool Exhausted(const Owner& owner, uint64_t index) const { return index - owner.first >= owner.longest; }
    uint32_t Live(uint32_t owner, uint64_t index);

    std::vector<Owner> owners_;
};

// The byte offsets at which the code points of UTF-8 text begin.
std::vector<size_t> CodePointStarts(const std::string& text);

}  // namespace SVG::detail

#endif  // SVGIMPORT_TEXT_POSITIONS_H

// The node program of the regular-expression engine, shared by its compiler
// and matcher.
//
// After a magic byte, each node is an opcode byte and a two-byte big-endian
// offset to the next node (0 for none; a BACK node's offset points
// backwards); literal and set nodes carry a zero-terminated operand.
#pragma once

#include <cstdint>

namespace markup::regexp::detail {

constexpr unsigned char kMagic = 0234;

enum Opcode : unsigned char {
    kEnd = 0,      // end of program
    kBol = 1,      // beginning of the text
    kEol = 2,      // end of the text
    kAny = 3,      // any one character
    kAnyOf = 4,    // one character of the operand
    kAnyBut = 5,   // one character not in the operand
    kBranch = 6,   // try this alternative, else the next branch
    kBack = 7,     // back to the start of a loop
    kExactly = 8,  // the operand
    kNothing = 9,  // the empty match
    kStar = 10,    // the following simple node, zero or more times
    kPlus = 11,    // the following simple node, one or more times
    kOpen = 20,    // 21 to 29: start of group n
    kClose = 30,   // 31 to 39: end of group n
};

constexpr int kNodeSize = 3;

inline unsigned char Op(const char* node) {
    return static_cast<unsigned char>(*node);
}
inline int NextOffset(const char* node) {
    return (static_cast<unsigned char>(node[1]) << 8) | static_cast<unsigned char>(node[2]);
}
inline char* Operand(char* node) {
    return node + kNodeSize;
}
inline const char* Operand(const char* node) {
    return node + kNodeSize;
}

// The node after this one, or null.
inline const char* Next(const char* node) {
    const int offset = NextOffset(node);
    if (offset == 0) return nullptr;
    return Op(node) == kBack ? node - offset : node + offset;
}
inline char* Next(char* node) {
    return const_cast<char*>(Next(static_cast<const char*>(node)));
}

}  // namespace markup::regexp::detail

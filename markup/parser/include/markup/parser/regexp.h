// The regular expressions that check formatted attribute values.
//
// A small engine of Henry Spencer's design: a compiler to a linear node
// program and a backtracking matcher. Syntax: "|" between alternatives; "*",
// "+" and "?" after an atom; atoms ".", "^", "$", a set in "[" "]" (leading
// "^" negates, "a-z" a range, "]" or "-" first stand for themselves), a
// parenthesised group, "\" and any character (that character), or any other
// character. Every error, in compiling or matching, throws the integer 1.
#pragma once

#include <cstdint>

#include "markup/string.h"

namespace markup {

class DictionaryEditor;

namespace regexp {

// Group 0 is the whole match; at most nine parenthesised groups.
constexpr int kGroups = 10;

// The header of a compiled program; the node program follows it in the same
// allocation (Code()).
struct Program {
    const char* startp[kGroups];
    const char* endp[kGroups];
    char regstart;          // the character every match begins with, or 0
    std::uint8_t reganch;   // 1 when anchored with "^"
    const char* regmust;    // a literal every match contains, or null
    std::uint32_t regmlen;  // its length

    char* Code() { return reinterpret_cast<char*>(this + 1); }
    const char* Code() const { return reinterpret_cast<const char*>(this + 1); }
};

// Programs of this many bytes or more are refused ("regexp too big").
constexpr std::uint32_t kMaxProgramSize = 32767;

// A program allocated with malloc; the caller frees it with free. Throws 1
// for a null or malformed pattern.
Program* regcomp(const char* pattern);
// 1 when the pattern matches anywhere in the text, else 0. Throws 1 for a
// null argument or a damaged program, and for a match that backtracks past
// the engine's depth or step bounds.
int regexec(Program* program, const char* text);
// Throws 1; the message is not kept.
[[noreturn]] void regerror(const char* message);

}  // namespace regexp

// Whether the value fits the format: format 19 checks it as a URL; any other
// format takes its pattern from the dictionary's named value of that id (its
// second text) and matches it. False when there is no such value, or the
// pattern does not compile or match.
bool CheckFormat(const DictionaryEditor* editor, std::uint32_t formatId, const String& value);

}  // namespace markup

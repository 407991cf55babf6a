// Latin-1 case mapping and string compares for the markup engine.
//
// The engine compares names of elements, selectors, URLs and dictionaries
// either byte for byte or without regard to case. Both must give the same
// answer whatever locale the host process runs in, so the case tables are
// fixed to ISO-8859-1 here instead of coming from the C library.
#pragma once

namespace platform {

// Upper and lower case of one Latin-1 byte. Letters without a partner in
// Latin-1 (sharp s, y with diaeresis) and the multiplication and division
// signs map to themselves.
unsigned char Latin1Upper(unsigned char c);
unsigned char Latin1Lower(unsigned char c);

// Convert a NUL-terminated text in place and return it; null stays null.
char* CharUpperA(char* text);
char* CharLowerA(char* text);

// Byte-order compare (unsigned bytes); a null pointer compares as "".
// The result is negative, zero or positive.
int lstrcmpA(const char* a, const char* b);

// The same compare after mapping both sides to Latin-1 lower case.
int lstrcmpiA(const char* a, const char* b);

}  // namespace platform

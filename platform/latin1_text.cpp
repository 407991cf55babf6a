// Latin-1 case tables, independent of the process locale.
#include "platform/latin1_text.h"

namespace platform {

namespace {

// 0xD7 (multiplication sign) and 0xF7 (division sign) sit inside the accented
// letter ranges but are not letters.
bool IsLatin1Upper(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
}

bool IsLatin1Lower(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7);
}

int CompareWith(const char* a, const char* b, unsigned char (*map)(unsigned char)) {
    const unsigned char* pa = reinterpret_cast<const unsigned char*>(a ? a : "");
    const unsigned char* pb = reinterpret_cast<const unsigned char*>(b ? b : "");
    for (;; ++pa, ++pb) {
        const int ca = map(*pa);
        const int cb = map(*pb);
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
}

unsigned char Identity(unsigned char c) {
    return c;
}

}  // namespace

unsigned char Latin1Upper(unsigned char c) {
    return IsLatin1Lower(c) ? static_cast<unsigned char>(c - 0x20) : c;
}

unsigned char Latin1Lower(unsigned char c) {
    return IsLatin1Upper(c) ? static_cast<unsigned char>(c + 0x20) : c;
}

char* CharUpperA(char* text) {
    if (!text) return text;
    for (char* p = text; *p; ++p) *p = static_cast<char>(Latin1Upper(static_cast<unsigned char>(*p)));
    return text;
}

char* CharLowerA(char* text) {
    if (!text) return text;
    for (char* p = text; *p; ++p) *p = static_cast<char>(Latin1Lower(static_cast<unsigned char>(*p)));
    return text;
}

int lstrcmpA(const char* a, const char* b) {
    return CompareWith(a, b, Identity);
}

int lstrcmpiA(const char* a, const char* b) {
    return CompareWith(a, b, Latin1Lower);
}

}  // namespace platform

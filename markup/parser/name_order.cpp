// CompareNames: the platform's word order over Latin-1 names.
#include "markup/parser/name_order.h"

#include <array>
#include <cstring>

#include "platform/latin1_text.h"

namespace markup {

namespace {

bool Ignored(unsigned char c) {
    return c == '-' || c == '\'';
}

// The platform's lower case, as a table: the search of a dictionary folds
// every byte of the names it passes, and a call per byte dominated it.
const std::array<unsigned char, 256> kFolded = [] {
    std::array<unsigned char, 256> folded{};
    for (int c = 0; c < 256; ++c) folded[c] = platform::Latin1Lower(static_cast<unsigned char>(c));
    return folded;
}();

unsigned char Fold(unsigned char c) {
    return kFolded[c];
}

int Sign(int difference) {
    return difference < 0 ? -1 : difference > 0 ? 1 : 0;
}

// Hyphens and apostrophes skipped, case folded.
int CompareLetters(const unsigned char* a, const unsigned char* b) {
    for (;;) {
        while (Ignored(*a)) ++a;
        while (Ignored(*b)) ++b;
        if (Fold(*a) != Fold(*b)) return Sign(Fold(*a) - Fold(*b));
        if (*a == 0) return 0;
        ++a;
        ++b;
    }
}

int CompareFolded(const unsigned char* a, const unsigned char* b) {
    for (; Fold(*a) == Fold(*b); ++a, ++b) {
        if (*a == 0) return 0;
    }
    return Sign(Fold(*a) - Fold(*b));
}

// The texts are equal but for case: the first place they differ decides,
// the lower-case letter first.
int CompareCaseOnly(const unsigned char* a, const unsigned char* b) {
    for (; *a == *b; ++a, ++b) {
        if (*a == 0) return 0;
    }
    return Fold(*a) == *a ? -1 : 1;
}

}  // namespace

int CompareNames(const char* a, const char* b) {
    const auto* pa = reinterpret_cast<const unsigned char*>(a ? a : "");
    const auto* pb = reinterpret_cast<const unsigned char*>(b ? b : "");
    // Equal bytes are equal in every pass: the look-up that finds its name
    // ends with one plain compare instead of three folded ones.
    if (std::strcmp(a ? a : "", b ? b : "") == 0) return 0;
    if (const int letters = CompareLetters(pa, pb)) return letters;
    if (const int folded = CompareFolded(pa, pb)) return folded;
    return CompareCaseOnly(pa, pb);
}

}  // namespace markup

// Runs of plain bytes found eight at a time: a text of a megabyte (what an
// entity may expand to) is passed a few times while it is laid out, and a
// test a byte made those passes most of the work.
#ifndef SVGIMPORT_BYTE_RUNS_H
#define SVGIMPORT_BYTE_RUNS_H

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace SVG::detail {

inline uint64_t WordAt(const char* p) {
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

constexpr uint64_t kHighBits = 0x8080808080808080ull;
constexpr uint64_t kOnes = 0x0101010101010101ull;

// How many bytes from `p` on are below 0x80.
inline size_t AsciiRun(const char* p, size_t n) {
    size_t i = 0;
    while (i + 8 <= n && (WordAt(p + i) & kHighBits) == 0) i += 8;
    while (i < n && static_cast<unsigned char>(p[i]) < 0x80) ++i;
    return i;
}

// How many bytes from `p` on are above the space: no white space and no
// control character among them.
inline size_t PrintableRun(const char* p, size_t n) {
    size_t i = 0;
    // A byte below 0x21 sets its high bit in (w - 0x21 each) & ~w; a byte
    // of 0x80 or more never does.
    while (i + 8 <= n) {
        const uint64_t word = WordAt(p + i);
        if (((word - kOnes * 0x21) & ~word & kHighBits) != 0) break;
        i += 8;
    }
    while (i < n && static_cast<unsigned char>(p[i]) > 0x20) ++i;
    return i;
}

// The bytes that start a UTF-8 sequence (all but continuation bytes,
// 10xxxxxx), as CodePointStarts counts them.
inline size_t CountSequenceStarts(const char* p, size_t n) {
    size_t continuations = 0;
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const uint64_t word = WordAt(p + i);
        // Bit 7 set and bit 6 clear.
        continuations += static_cast<size_t>(std::popcount(word & ~(word << 1) & kHighBits));
    }
    for (; i < n; ++i) continuations += (static_cast<unsigned char>(p[i]) & 0xC0) == 0x80;
    return n - continuations;
}

}  // namespace SVG::detail

#endif  // SVGIMPORT_BYTE_RUNS_H

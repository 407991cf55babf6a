// Kernels that rewrite packed palette indices through small tables. Packed
// destinations keep every bit of a touched byte outside the pixels written.
#include "raster/bit_rows.h"
#include "raster/nibble_rows.h"
#include "row_kernels.h"

namespace raster::convert {
namespace {

// Source nibble position of pixel i: the block's bit offset 4 starts on the low nibble.
std::uint32_t SrcNibble(const RIPRowBlock& b, std::uint32_t i) { return (b.srcBit >= 4 ? 1u : 0u) + i; }
std::uint32_t DstNibble(const RIPRowBlock& b, std::uint32_t i) { return (b.dstBit >= 4 ? 1u : 0u) + i; }

// Writes each pixel's value, read from the source by `read`, with `write`.
template <class Read, class Write>
int Remap(RIPRasterState* state, const RIPRowBlock& b, Read read, Write write) {
    const auto width = static_cast<std::uint32_t>(b.width);
    return ForEachRow(state, b, [&](std::int32_t, std::uint8_t* d, const std::uint8_t* s) {
        for (std::uint32_t i = 0; i < width; ++i) {
            write(d, i, read(s, i));
        }
    });
}

auto ReadNibbleOf(const RIPRowBlock& b) {
    return [&b](const std::uint8_t* s, std::uint32_t i) { return GetNibble(s, SrcNibble(b, i)); };
}
std::uint32_t ReadByte(const std::uint8_t* s, std::uint32_t i) { return s[i]; }

auto WriteBitOf(const RIPRowBlock& b) {
    return [&b](std::uint8_t* d, std::uint32_t i, std::uint32_t v) { PutBit(d, b.dstBit + i, v != 0 ? 1 : 0); };
}
auto WriteNibbleOf(const RIPRowBlock& b) {
    return [&b](std::uint8_t* d, std::uint32_t i, std::uint32_t v) { PutNibble(d, DstNibble(b, i), v); };
}
void WriteByte(std::uint8_t* d, std::uint32_t i, std::uint32_t v) { d[i] = static_cast<std::uint8_t>(v); }
void WriteSample(std::uint8_t* d, std::uint32_t i, std::uint32_t v) {
    d[2 * i] = d[2 * i + 1] = static_cast<std::uint8_t>(v);
}

}  // namespace

int RIPRemapRow1To1(RIPRasterState* state, const RIPRowBlock& b, std::uint8_t value0, std::uint8_t value1) {
    const bool set0 = value0 != 0, set1 = value1 != 0;
    const auto width = static_cast<std::uint32_t>(b.width);
    return ForEachRow(state, b, [&](std::int32_t, std::uint8_t* d, const std::uint8_t* s) {
        if (set0 == set1) {
            RIPSetBitRun(d, b.dstBit, width, set1 ? 1 : 0);
        } else if (set1) {
            RIPCopyBitsAtOffset(d, b.dstBit, s, b.srcBit, width);
        } else {
            for (std::uint32_t i = 0; i < width; ++i) PutBit(d, b.dstBit + i, GetBit(s, b.srcBit + i) ^ 1u);
        }
    });
}

int RIPRemapRow1To4(RIPRasterState* state, const RIPRowBlock& b, std::uint8_t value0, std::uint8_t value1) {
    const std::uint32_t values[2] = {value0, value1};
    return Remap(state, b, [&](const std::uint8_t* s, std::uint32_t i) { return values[GetBit(s, b.srcBit + i)]; },
                 WriteNibbleOf(b));
}

int RIPRemapRow1To8(RIPRasterState* state, const RIPRowBlock& b, std::uint8_t value0, std::uint8_t value1) {
    const std::uint32_t values[2] = {value0, value1};
    return Remap(state, b, [&](const std::uint8_t* s, std::uint32_t i) { return values[GetBit(s, b.srcBit + i)]; },
                 &WriteByte);
}

int RIPRemapRow4To1(RIPRasterState* state, const RIPRowBlock& b, const std::uint8_t table[16]) {
    const auto read = ReadNibbleOf(b);
    return Remap(state, b, [&](const std::uint8_t* s, std::uint32_t i) { return table[read(s, i)]; },
                 WriteBitOf(b));
}

int RIPRemapRow4To8(RIPRasterState* state, const RIPRowBlock& b, const std::uint8_t table[16]) {
    const auto read = ReadNibbleOf(b);
    return Remap(state, b, [&](const std::uint8_t* s, std::uint32_t i) { return table[read(s, i)]; }, &WriteByte);
}

int RIPRemapRow4To16(RIPRasterState* state, const RIPRowBlock& b, const std::uint8_t table[16]) {
    const auto read = ReadNibbleOf(b);
    return Remap(state, b, [&](const std::uint8_t* s, std::uint32_t i) { return table[read(s, i)]; },
                 &WriteSample);
}

int RIPRemapRow4To4(RIPRasterState* state, const RIPRowBlock& b, RIPPalette* destinationPalette,
                    const RIPPalette* sourcePalette) {
    std::uint8_t table[256], low[16], high[16];
    RIPBuildRemapTable(table, destinationPalette, sourcePalette, true);
    for (int i = 0; i < 16; ++i) {
        low[i] = table[i] & 0x0F;
        high[i] = static_cast<std::uint8_t>(low[i] << 4);
    }
    const auto width = static_cast<std::uint32_t>(b.width);
    return ForEachRow(state, b, [&](std::int32_t, std::uint8_t* d, const std::uint8_t* s) {
        RIPRemapNibbleRow(d, DstNibble(b, 0), s, SrcNibble(b, 0), width, low, high);
    });
}

int RIPRemapRow8To1(RIPRasterState* state, const RIPRowBlock& b, const std::uint8_t table[256]) {
    return Remap(state, b, [&](const std::uint8_t* s, std::uint32_t i) { return table[s[i]]; }, WriteBitOf(b));
}

int RIPRemapRow8To4(RIPRasterState* state, const RIPRowBlock& b, const std::uint8_t table[256]) {
    return Remap(state, b, [&](const std::uint8_t* s, std::uint32_t i) { return table[s[i]]; }, WriteNibbleOf(b));
}

int RIPRemapRow8To8(RIPRasterState* state, const RIPRowBlock& b, const std::uint8_t table[256]) {
    return Remap(state, b, [&](const std::uint8_t* s, std::uint32_t i) { return table[ReadByte(s, i)]; },
                 &WriteByte);
}

int RIPRemapRow8To16(RIPRasterState* state, const RIPRowBlock& b, const std::uint8_t table[256]) {
    return Remap(state, b, [&](const std::uint8_t* s, std::uint32_t i) { return table[s[i]]; }, &WriteSample);
}

}  // namespace raster::convert

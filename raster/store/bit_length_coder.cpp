// The bit-length coder (codec 5): residuals in groups that share one field
// width, each group a header byte (count and width code) followed by its
// fields. Runs of zeros cost one header byte per 32 (or 16) samples.
#include <cstring>

#include "bit_stream.h"
#include "raster/store/tile_codecs.h"

namespace raster {
namespace {

using detail::BitReader;
using detail::BitWriter;
using detail::SignExtend;

// 0 for 0, else the smallest k ≥ 1 with -2^k ≤ v ≤ 2^k - 1: the field then
// takes k + 1 bits.
int BitLength(std::int32_t v) {
    if (v == 0) return 0;
    int k = 1;
    while (v < -(1 << k) || v > (1 << k) - 1) ++k;
    return k;
}

struct Table8 {
    std::uint8_t length[256];
    Table8() {
        for (int v = 0; v < 256; ++v)
            length[v] = static_cast<std::uint8_t>(BitLength(static_cast<std::int8_t>(v)));
    }
};

const Table8 kLengths8;

// One format's coder: the group limit and the header's split between count
// and width code.
struct Format8 {
    static constexpr int kLimit = 32;
    static constexpr int kCountBits = 5;
    static int Length(std::uint32_t sample) { return kLengths8.length[sample & 0xFF]; }
};

struct Format16 {
    static constexpr int kLimit = 16;
    static constexpr int kCountBits = 4;
    static int Length(std::uint32_t sample) {
        return BitLength(static_cast<std::int16_t>(static_cast<std::uint16_t>(sample)));
    }
};

template <class F, class T>
void EncodeGroups(BitWriter& out, const T* source, std::size_t count) {
    std::size_t i = 0;
    while (i < count) {
        int g = F::Length(source[i]);
        int n = 1;
        int savings = 0;
        std::size_t j = i + 1;
        for (; n < F::kLimit && j < count; ++j, ++n) {
            const int l = F::Length(source[j]);
            if (l > g) {
                if ((l - g) * n > 8) break;
                g = l;
                savings = 0;
            } else if (l < g) {
                savings += g - l;
                if (savings > 10 && g - l >= 3) break;
            }
        }
        out.Put(static_cast<std::uint32_t>(n - 1) | (static_cast<std::uint32_t>(g) << F::kCountBits), 8);
        if (g > 0) {
            for (std::size_t k = i; k < j; ++k) out.Put(source[k], g + 1);
        }
        i = j;
    }
}

template <class F, class T>
std::int32_t DecodeGroups(T* destination, const std::uint8_t* source, std::size_t sourceBytes,
                          std::size_t count) {
    BitReader in(source, sourceBytes);
    std::size_t done = 0;
    constexpr std::uint32_t kCountMask = (1u << F::kCountBits) - 1;
    while (done < count) {
        std::uint32_t header = 0;
        if (!in.Take(8, &header)) return 0;
        const std::size_t n = (header & kCountMask) + 1;
        const int g = static_cast<int>(header >> F::kCountBits);
        // The encoder never writes a group past the samples asked for.
        if (n > count - done) return 0;
        if (g == 0) {
            std::memset(destination + done, 0, n * sizeof(T));
        } else {
            for (std::size_t k = 0; k < n; ++k) {
                std::uint32_t field = 0;
                if (!in.Take(g + 1, &field)) return 0;
                destination[done + k] = static_cast<T>(SignExtend(field, g + 1));
            }
        }
        done += n;
    }
    return 1;
}

}  // namespace

std::size_t RIPTileCodecEncode8(std::uint8_t* destination, std::size_t capacity, const std::uint8_t* source,
                                std::size_t count) {
    BitWriter out(destination, capacity);
    EncodeGroups<Format8>(out, source, count);
    // An empty input still answers one byte.
    if (count == 0) out.Put(0, 8);
    return out.Finish() ? out.Bytes() : 0;
}

std::size_t RIPTileCodecEncode16(std::uint8_t* destination, std::size_t capacity, const std::uint16_t* source,
                                 std::size_t count) {
    BitWriter out(destination, capacity);
    EncodeGroups<Format16>(out, source, count);
    return out.Finish() ? out.Bytes() : 0;
}

std::int32_t RIPTileCodecDecode8(std::uint8_t* destination, const std::uint8_t* source,
                                 std::size_t sourceBytes, std::size_t count) {
    return DecodeGroups<Format8>(destination, source, sourceBytes, count);
}

std::int32_t RIPTileCodecDecode16(std::uint16_t* destination, const std::uint8_t* source,
                                  std::size_t sourceBytes, std::size_t count) {
    return DecodeGroups<Format16>(destination, source, sourceBytes, count);
}

}  // namespace raster

// Predictors: residuals against the sample above or the same channel of the
// pixel before, so smooth tiles turn into runs of small numbers for the
// bit-length coder. The sum of residual sizes decides between storing raw,
// coding, or a tile of one colour.
#include <cstring>

#include "raster/store/tile_codecs.h"

namespace raster {
namespace {

thread_local std::uint64_t t_lastSum = 0;

// Above this sum (20 per sample in 8-bit units over a 64 KB block) a block
// is too noisy to be worth coding.
constexpr std::uint64_t kRawLimit8 = 1310720;
constexpr std::uint64_t kRawLimit16 = 167772160;

bool IsWide(std::int32_t type) {
    return type == 12 || type == 14;
}

// Samples between a sample and the same channel of the next pixel; 0 for
// types without byte-aligned pixels.
int PixelStep(std::int32_t type) {
    switch (type) {
        case 1:
        case 11:
        case 12:
            return 3;
        case 3:
            return 4;
        case 5:
        case 14:
        case 99:
            return 1;
        default:
            return 0;
    }
}

// Types whose rows are differenced one at a time by the horizontal kind.
bool RowWise(std::int32_t type) {
    return type == 1 || type == 11 || type == 3 || type == 12;
}

// 8-bit and 16-bit samples behind one interface; the block is read and
// written through memcpy so no alignment is assumed.
// The size of a byte residual read as a signed byte: v below 128, else
// 256 - v (so 128 gives 128).
struct MagnitudeTable {
    std::uint8_t size[256];
    MagnitudeTable() {
        for (int v = 0; v < 256; ++v) size[v] = static_cast<std::uint8_t>(v < 128 ? v : 256 - v);
    }
};
const MagnitudeTable kMagnitude;

struct Bytes {
    std::uint8_t* p;
    using Value = std::uint8_t;
    Value Get(std::size_t i) const { return p[i]; }
    void Set(std::size_t i, unsigned v) { p[i] = static_cast<std::uint8_t>(v); }
    static std::uint64_t Size(unsigned r) { return kMagnitude.size[r & 0xFF]; }
};

struct Words {
    std::uint8_t* p;
    using Value = std::uint16_t;
    Value Get(std::size_t i) const {
        Value v;
        std::memcpy(&v, p + 2 * i, 2);
        return v;
    }
    void Set(std::size_t i, unsigned v) {
        const auto w = static_cast<Value>(v);
        std::memcpy(p + 2 * i, &w, 2);
    }
    static std::uint64_t Size(unsigned r) {
        const auto v = static_cast<std::int16_t>(static_cast<std::uint16_t>(r));
        return static_cast<std::uint64_t>(v < 0 ? -static_cast<std::int32_t>(v) : v);
    }
};

// s[i] -= s[i - distance] for i from last down to first; answers the sum of
// residual sizes.
template <class S>
std::uint64_t DifferenceBack(S s, std::size_t first, std::size_t last, std::size_t distance) {
    std::uint64_t sum = 0;
    for (std::size_t i = last + 1; i-- > first;) {
        const unsigned r = static_cast<unsigned>(s.Get(i)) - s.Get(i - distance);
        s.Set(i, r);
        sum += S::Size(r);
    }
    return sum;
}

// s[i] += s[i - distance] for i from first up to last.
template <class S>
void AccumulateForward(S s, std::size_t first, std::size_t last, std::size_t distance) {
    for (std::size_t i = first; i <= last; ++i) {
        s.Set(i, static_cast<unsigned>(s.Get(i)) + s.Get(i - distance));
    }
}

struct Layout {
    std::size_t rows;
    std::size_t perRow;  // samples a row
    std::size_t total;   // samples in the block
    std::size_t step;
};

Layout LayoutOf(std::int32_t rowBytes, std::int32_t type, std::size_t size) {
    const std::size_t unit = IsWide(type) ? 2 : 1;
    const std::size_t rb = rowBytes > 0 ? static_cast<std::size_t>(rowBytes) : 0;
    const int step = PixelStep(type);
    return {rb == 0 ? 0 : size / rb, rb / unit, size / unit, static_cast<std::size_t>(step > 0 ? step : 1)};
}

// The runs the horizontal kind differences, as (first, last) sample
// indexes after each run's first pixel: every row for the row-wise types,
// the whole block as one row for the others.
template <class Op>
void ForEachRun(const Layout& l, std::int32_t type, Op op) {
    if (RowWise(type)) {
        for (std::size_t r = 0; r < l.rows; ++r) {
            if (l.perRow > l.step) op(r * l.perRow + l.step, r * l.perRow + l.perRow - 1);
        }
    } else if (l.total > l.step) {
        op(l.step, l.total - 1);
    }
}

template <class S>
std::uint64_t Encode(S s, const Layout& l, std::int32_t type, std::int32_t kind) {
    std::uint64_t sum = 0;
    switch (kind) {
        case kPredictCombined:
            for (std::size_t r = l.rows; r-- > 1;) {
                sum += DifferenceBack(s, r * l.perRow, r * l.perRow + l.perRow - 1, l.perRow);
            }
            if (l.rows > 0 && l.perRow > l.step) sum += DifferenceBack(s, l.step, l.perRow - 1, l.step);
            break;
        case kPredictVertical:
            for (std::size_t r = l.rows; r-- > 1;) {
                DifferenceBack(s, r * l.perRow, r * l.perRow + l.perRow - 1, l.perRow);
            }
            break;
        case kPredictHorizontal:
            ForEachRun(l, type,
                       [&](std::size_t first, std::size_t last) { DifferenceBack(s, first, last, l.step); });
            break;
        default:
            break;
    }
    return sum;
}

template <class S>
void Decode(S s, const Layout& l, std::int32_t type, std::int32_t kind) {
    switch (kind) {
        case kPredictCombined:
            if (l.rows > 0 && l.perRow > l.step) AccumulateForward(s, l.step, l.perRow - 1, l.step);
            [[fallthrough]];
        case kPredictVertical:
            for (std::size_t r = 1; r < l.rows; ++r) {
                AccumulateForward(s, r * l.perRow, r * l.perRow + l.perRow - 1, l.perRow);
            }
            break;
        case kPredictHorizontal:
            ForEachRun(l, type, [&](std::size_t first, std::size_t last) {
                AccumulateForward(s, first, last, l.step);
            });
            break;
        default:
            break;
    }
}

}  // namespace

std::uint64_t RIPPredictorLastSum() {
    return t_lastSum;
}

std::int32_t RIPPredictorEncode(std::uint8_t* block, std::int32_t rowBytes, std::int32_t type,
                                std::size_t size, std::uint8_t* /*scratch*/, std::int32_t* kind) {
    t_lastSum = 0;
    if (block == nullptr || kind == nullptr || rowBytes <= 0) return 0;
    if (*kind == kPredictCombined && (type == 6 || type == 10)) {
        *kind = kPredictNone;
        return kCodecBitLength;
    }
    if (*kind == kPredictCombined && PixelStep(type) == 0) return kCodecNone;
    const Layout l = LayoutOf(rowBytes, type, size);
    const std::uint64_t sum =
        IsWide(type) ? Encode(Words{block}, l, type, *kind) : Encode(Bytes{block}, l, type, *kind);
    if (*kind != kPredictCombined) return kCodecBitLength;
    t_lastSum = sum;
    const std::size_t used = l.rows * static_cast<std::size_t>(rowBytes);
    std::memset(block + used, 0, size - used);
    if (sum == 0) return kCodecSolid;
    return sum > (IsWide(type) ? kRawLimit16 : kRawLimit8) ? kCodecRaw : kCodecBitLength;
}

std::int32_t RIPPredictorDecode(std::uint8_t* block, std::int32_t rowBytes, std::int32_t type,
                                std::size_t size, std::uint8_t* /*scratch*/, std::int32_t kind) {
    if (block == nullptr || rowBytes <= 0) return 1;
    if (kind == kPredictCombined && PixelStep(type) == 0) return 1;
    const Layout l = LayoutOf(rowBytes, type, size);
    if (IsWide(type)) {
        Decode(Words{block}, l, type, kind);
    } else {
        Decode(Bytes{block}, l, type, kind);
    }
    return 1;
}

}  // namespace raster

// fill-P8, the fill table of 8-bit palette indices. Set writes the colour's
// index with the grey Set kernel; under coverage a pixel's entry is blended
// toward the colour's entry and mapped back to the nearest index.
#include "grey8_kernels.h"
#include "raster/pal_cache.h"
#include "raster/palette.h"

namespace raster::kernels {
namespace {

using namespace detail;

// Indices are bytes, so at most the first 256 entries can be named.
std::uint32_t EntryCount(const RIPPalette& palette) {
    return palette.count <= 0 ? 0 : palette.count > 256 ? 256 : static_cast<std::uint32_t>(palette.count);
}

// A pixel or colour index past the palette's entries names no colour; it is
// read as black rather than from beyond the palette.
constexpr std::uint8_t kNoEntry[3] = {0, 0, 0};
const std::uint8_t* EntryOf(const RIPPalette& palette, std::uint32_t index) {
    return index < EntryCount(palette) ? palette.Entries() + 3 * index : kNoEntry;
}

// From a blended colour back to an index: the standard palette by its own
// rule, a palette with a nearest-colour cache through the cache, and any other
// palette by searching its entries, so a masked fill always paints.
class IndexMapping {
public:
    explicit IndexMapping(const RIPPalette& palette)
        : entries_(palette.Entries()), count_(EntryCount(palette)), cache_(palette.cache) {
        if (palette.kind == kPaletteStandard) {
            kind_ = Kind::Standard;
        } else if (palette.cacheKind == kPalCacheNearest && palette.cache != nullptr) {
            kind_ = Kind::Cached;
        }
    }

    std::uint8_t operator()(std::uint8_t red, std::uint8_t green, std::uint8_t blue) const {
        switch (kind_) {
            case Kind::Standard: return RIPStdPaletteIndex(red, green, blue);
            case Kind::Cached: return RIPPalCacheNearestIndex(cache_, red, green, blue, entries_);
            case Kind::Search: break;
        }
        return Nearest(red, green, blue);
    }

private:
    enum class Kind { Standard, Cached, Search };

    // The lowest index of least squared distance, as the cache answers; 0
    // for a palette without entries.
    std::uint8_t Nearest(int red, int green, int blue) const {
        std::uint32_t best = UINT32_MAX;
        std::uint32_t bestIndex = 0;
        for (std::uint32_t i = 0; i < count_; ++i) {
            const std::uint8_t* e = entries_ + 3 * i;
            const int dr = e[2] - red, dg = e[1] - green, db = e[0] - blue;
            const auto d = static_cast<std::uint32_t>(dr * dr + dg * dg + db * db);
            if (d < best) {
                best = d;
                bestIndex = i;
            }
        }
        return static_cast<std::uint8_t>(bestIndex);
    }

    Kind kind_ = Kind::Search;
    const std::uint8_t* entries_;
    std::uint32_t count_;
    RIPPalCache* cache_;
};

// Columns 1-5 of Set: each entry byte blended toward the colour's entry by the
// pixel's weight (the quotient form in column 5), then mapped back. Runs of
// equal pixels under equal weights are common, so the last answer is kept.
template <std::uint32_t Col>
void FillPalette8Kernel(const RIPKernelParams::Fill* params, std::uint32_t n, std::uint8_t* dst,
                        const RIPKernelCoverage* cov) {
    if (n == 0) {
        return;
    }
    const RIPPalette& palette = *params->palette;
    const IndexMapping toIndex(palette);
    const std::uint8_t* colour = EntryOf(palette, params->color.At(8));
    CoverageWalker<Col, false> weight(cov, 0);
    std::uint32_t lastPixel = 256, lastWeight = 256;
    std::uint8_t lastIndex = 0;
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::uint32_t w = weight.Next();
        if (dst[i] != lastPixel || w != lastWeight) {
            lastPixel = dst[i];
            lastWeight = w;
            const std::uint8_t* e = EntryOf(palette, dst[i]);
            lastIndex = toIndex(static_cast<std::uint8_t>(Blend(e[2], colour[2], w)),
                                static_cast<std::uint8_t>(Blend(e[1], colour[1], w)),
                                static_cast<std::uint8_t>(Blend(e[0], colour[0], w)));
        }
        dst[i] = lastIndex;
    }
}

// Everything but Set and the no-op rows goes through a working format.
constexpr RIPFillKernelTable BuildFillP8() {
    RIPFillKernelTable t{};
    t[0] = {kRIPFillKernelSet8,           &FillPalette8Kernel<1>, &FillPalette8Kernel<2>,
            &FillPalette8Kernel<3>,       &FillPalette8Kernel<4>, &FillPalette8Kernel<5>};
    t[18] = t[0];
    for (std::uint32_t m = 19; m <= 23; ++m) {
        t[m] = kFillNoOpRow;
    }
    t[35] = kFillNoOpRow;
    return t;
}

}  // namespace

constexpr RIPFillKernelTable RIPFillKernelsP8 = BuildFillP8();

}  // namespace raster::kernels

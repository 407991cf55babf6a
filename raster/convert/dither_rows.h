// Row helpers of the reductions: source rows turned into greys or colour
// triples, a writer that packs bits into a row keeping the bits around the
// run, and the error rows' layout.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "raster/palette.h"
#include "raster/row_convert.h"

namespace raster::convert {

enum class RIPSourceKind { kRGB24, kGray8, kPal8 };

// Entry i of a palette (entry 0 at or beyond the count, black without entries).
inline const std::uint8_t* PaletteEntry(const RIPPalette* palette, unsigned i) {
    static constexpr std::uint8_t kBlack[3] = {0, 0, 0};
    if (palette == nullptr || palette->count < 1) return kBlack;
    return palette->Entries() + 3 * (i < static_cast<unsigned>(palette->count) ? i : 0);
}

// Turns source rows of one kind into greys or (blue, green, red) triples,
// through a buffer of its own where the source is not that already.
class RIPSourceRows {
  public:
    RIPSourceRows(RIPSourceKind kind, const RIPPalette* palette, std::int32_t width)
        : kind_(kind), width_(width > 0 ? width : 0) {
        if (kind_ == RIPSourceKind::kPal8) {
            for (int i = 0; i < 256; ++i) {
                const std::uint8_t* e = PaletteEntry(palette, static_cast<unsigned>(i));
                greys_[i] = RIPGreyOf(e[0], e[1], e[2]);
                std::copy_n(e, 3, colours_ + 3 * i);
            }
        }
    }
    const std::uint8_t* Greys(const std::uint8_t* src) {
        if (kind_ == RIPSourceKind::kGray8) return src;
        buffer_.resize(static_cast<std::size_t>(width_));
        for (std::int32_t i = 0; i < width_; ++i) {
            buffer_[i] = kind_ == RIPSourceKind::kRGB24
                             ? RIPGreyOf(src[3 * i], src[3 * i + 1], src[3 * i + 2])
                             : greys_[src[i]];
        }
        return buffer_.data();
    }
    const std::uint8_t* Colours(const std::uint8_t* src) {
        if (kind_ == RIPSourceKind::kRGB24) return src;
        buffer_.resize(3 * static_cast<std::size_t>(width_));
        for (std::int32_t i = 0; i < width_; ++i) {
            if (kind_ == RIPSourceKind::kGray8) {
                std::fill_n(&buffer_[3 * i], 3, src[i]);
            } else {
                std::copy_n(colours_ + 3 * src[i], 3, &buffer_[3 * i]);
            }
        }
        return buffer_.data();
    }

  private:
    RIPSourceKind kind_;
    std::int32_t width_;
    std::uint8_t greys_[256] = {};
    std::uint8_t colours_[768] = {};
    std::vector<std::uint8_t> buffer_;
};

// Packs bits from bit position `bit` of row, most significant bit first;
// bits of the first and last byte outside the run keep their values.
class RIPBitSink {
  public:
    RIPBitSink(std::uint8_t* row, std::uint32_t bit) : p_(row + bit / 8), pos_(bit % 8) {}
    void Put(bool set) {
        const auto m = static_cast<std::uint8_t>(0x80u >> pos_);
        mask_ |= m;
        if (set) acc_ |= m;
        if (++pos_ == 8) Flush();
    }
    // Writes a partly filled last byte.
    void Finish() {
        if (mask_ != 0) *p_ = static_cast<std::uint8_t>((*p_ & ~mask_) | acc_);
    }

  private:
    void Flush() {
        *p_ = static_cast<std::uint8_t>((*p_ & ~mask_) | acc_);
        ++p_;
        pos_ = 0;
        acc_ = mask_ = 0;
    }
    std::uint8_t* p_;
    std::uint32_t pos_;
    std::uint8_t acc_ = 0;
    std::uint8_t mask_ = 0;
};

// Channel c's error row in a RIPAllocErrorRows buffer of the width: entries
// -1 .. width exist, rows apart so that each channel's edges stay its own.
inline std::int16_t* ErrorRow(std::int16_t* errors, std::int32_t width, int channel) {
    return errors + static_cast<std::ptrdiff_t>(channel) * (width + 2) + 1;
}

inline int Clamp255(int v) {
    return v < 0 ? 0 : v > 255 ? 255 : v;
}

}  // namespace raster::convert

// The calling frame every compositing kernel shares: merge modes, coverage
// variants, the parameter and coverage records, the three kernel signatures
// and the two kernels that stand in table slots without doing work.
#pragma once

#include <cstdint>

#include "colour/color_record.h"

namespace raster {
struct RIPPalette;
}

namespace raster::kernels {

// The row index of every kernel table.
enum RIPMergeMode : std::uint32_t {
    kModeSet = 0,
    kModeAnd = 1,
    kModeOr = 2,
    kModeXor = 3,
    kModeAndNot = 4,
    kModeInvert = 5,
    kModeSetInverse = 6,
    kModeAdd = 7,
    kModeAddMinus = 8,
    kModeMultiply = 9,
    kModeDivide = 10,
    kModeLighten = 11,
    kModeDarken = 12,
    kModeLightnessMultiply = 13,
    kModeHueSaturation = 14,
    kModeHue = 15,
    kModeSaturation = 16,
    kModeBrightness = 17,
    kModeChannel0 = 18,
    kModeChannel1 = 19,
    kModeChannel2 = 20,
    kModeChannel3 = 21,
    kModeDifference = 24,
    kModeSubtract = 25,
    kModeMultiplyInverse = 26,
    kModeBehind = 27,
    kModeScreen = 28,
    kModeOverlay = 29,
    kModeSoftLight = 30,
    kModeHardLight = 31,
    kModeDissolve = 32,
    kModeDodge = 33,
    kModeBurn = 34,
    kModeNone = 35,
};
inline constexpr std::uint32_t kRIPMergeModeCount = 36;

// The column index of every kernel table.
enum RIPCoverageVariant : std::uint32_t {
    kCoverOpaque = 0,
    kCoverMask = 1,
    kCoverConstant = 2,
    kCoverMaskMask = 3,
    kCoverMaskConstant = 4,
    kCoverMaskMaskConstant = 5,
};
inline constexpr std::uint32_t kRIPCoverageVariantCount = 6;

// The source of Dissolve's draws. Each fill or blit context carries its own,
// so concurrent fills never share one sequence and tests can replay one.
struct RIPKernelRandom {
    static constexpr std::uint32_t kDefaultSeed = 0x2545F491u;
    std::uint32_t state = kDefaultSeed;

    // A value in 0..254: Dissolve paints where it is below the weight, so a
    // weight of 0 never paints and 255 always does.
    std::uint8_t Draw() {
        std::uint32_t x = state != 0 ? state : kDefaultSeed;  // xorshift never leaves 0
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        state = x;
        return static_cast<std::uint8_t>((static_cast<std::uint64_t>(x) * 255u) >> 32);
    }
};

// The first argument of every kernel: the leading part of the caller's fill
// or blit context. A kernel reads only the fields its family names.
struct RIPKernelParams {
    struct Fill {
        RIPPalette* palette = nullptr;  // the destination's palette (paletted kernels)
        std::uint32_t bitOffset = 0;    // first pixel's bit in its byte, from the top (1-bit kernels)
        colour::ColorRecord color;      // already in the destination format's colour model
        std::uint32_t bytesPerPixel = 0;
        RIPKernelRandom* random = nullptr;  // Dissolve's draws; null draws from a per-thread source
    };
    struct Blit {
        std::uint32_t srcBitOffset = 0;
        const RIPPalette* srcPalette = nullptr;
        std::uint32_t dstBitOffset = 0;
        const RIPPalette* dstPalette = nullptr;
        std::int32_t srcStep = 1;  // bytes from one source step to the next (channel kernels)
        std::int32_t dstStep = 1;
        std::uint32_t channelsPerPixel = 1;  // samples combined per step (channel kernels)
        RIPKernelRandom* random = nullptr;
    };
};

// The last argument: per-pixel masks (one byte per pixel, 0 none .. 255 full)
// and a constant opacity. Column 0 never reads it and may be given none.
struct RIPKernelCoverage {
    const std::uint8_t* mask1 = nullptr;
    const std::uint8_t* mask2 = nullptr;
    std::uint8_t opacity = 255;
};

// A kernel combines exactly n pixels (or steps) and touches nothing else;
// n = 0 does nothing. Arguments are trusted: every check belongs to the setup
// that chose the kernel. Source and destination runs are either the same run
// or apart.
using RIPFillKernel = void (*)(const RIPKernelParams::Fill* params, std::uint32_t n, std::uint8_t* dst,
                               const RIPKernelCoverage* cov);
using RIPBlitKernel = void (*)(const RIPKernelParams::Blit* params, std::uint32_t n, std::uint8_t* dst,
                               const std::uint8_t* src, const RIPKernelCoverage* cov);
// Channel kernels share the blit signature, so blit tables can hold them.
using RIPChannelKernel = RIPBlitKernel;

// The operation is defined for the format and changes nothing.
void RIPKernelNoOp(const RIPKernelParams::Fill* params, std::uint32_t n, std::uint8_t* dst,
                   const RIPKernelCoverage* cov);
void RIPKernelNoOp(const RIPKernelParams::Blit* params, std::uint32_t n, std::uint8_t* dst,
                   const std::uint8_t* src, const RIPKernelCoverage* cov);

// Holds the slots whose kernels are not written yet, so every table already
// has its final shape; calling it stops the process with a message.
[[noreturn]] void RIPKernelPending(const RIPKernelParams::Fill* params, std::uint32_t n, std::uint8_t* dst,
                                   const RIPKernelCoverage* cov);
[[noreturn]] void RIPKernelPending(const RIPKernelParams::Blit* params, std::uint32_t n, std::uint8_t* dst,
                                   const std::uint8_t* src, const RIPKernelCoverage* cov);

inline constexpr RIPFillKernel kRIPFillNoOp = &RIPKernelNoOp;
inline constexpr RIPBlitKernel kRIPBlitNoOp = &RIPKernelNoOp;
inline constexpr RIPFillKernel kRIPFillPending = &RIPKernelPending;
inline constexpr RIPBlitKernel kRIPBlitPending = &RIPKernelPending;

// The column a painter calls for one run: from the triple (0, 1, 3), or
// (2, 4, 5) when the constant opacity is below 255, the first when the run
// has no mask, the second with one mask, the third with two. A second mask
// without a first is a caller's fault.
RIPCoverageVariant RIPKernelColumnFor(const RIPKernelCoverage* cov, bool partialOpacity);

}  // namespace raster::kernels

// The seam between the plain kernels and their vector paths.
//
// Each instruction set (SSE2, AVX2) has one translation unit, compiled for
// that set, which builds a VectorKernels table from the lane templates of
// vector_lanes.h. A plain kernel asks for the table of the features in force
// and, when the slot holds a function, lets it do the run's leading whole
// vectors; the plain loop finishes the tail. The vector functions give the
// plain path's bytes exactly.
//
// This header is included by the instruction-set units, so it holds only
// declarations, data types and constants: no inline function that a unit
// compiled for a wider instruction set could lend to the rest of the program.
#pragma once

#include <cstddef>
#include <cstdint>

#include "kernels/kernel_frame.h"

namespace raster::kernels::detail {

// What the vector side knows of each 8-bit merge mode.
enum class VecOpaque : std::uint8_t {
    None,
    Set,
    And,
    Or,
    Xor,
    AndNot,
    Invert,
    SetInverse,
    Add,
    AddMinus,
    Multiply,
    Lighten,
    Darken,
    Difference,
    Subtract,
    MultiplyInverse,
    Screen,
};
enum class VecCover : std::uint8_t {
    None,
    Blend,
    AddScaled,
    SubtractScaled,
    LightenBlend,
    DarkenBlend,
    DifferenceScaled,
    SubtractSourceScaled,
    BehindBlend,
};
struct VecModeSpec {
    VecOpaque opaque = VecOpaque::None;
    VecCover cover = VecCover::None;
    bool productCol5 = false;  // column 5 is T[T[m1·m2]·a]; the quotient form has no vector path
};

// Indexed by merge mode; rows without a vector path stay empty.
inline constexpr VecModeSpec kVecModeSpecs[kRIPMergeModeCount] = {
    /* 0 Set */ {VecOpaque::Set, VecCover::Blend, true},
    /* 1 And */ {VecOpaque::And, VecCover::Blend},
    /* 2 Or */ {VecOpaque::Or, VecCover::Blend},
    /* 3 Xor */ {VecOpaque::Xor, VecCover::Blend},
    /* 4 AndNot */ {VecOpaque::AndNot, VecCover::Blend},
    /* 5 Invert */ {VecOpaque::Invert, VecCover::Blend},
    /* 6 SetInverse */ {VecOpaque::SetInverse, VecCover::Blend},
    /* 7 Add */ {VecOpaque::Add, VecCover::AddScaled},
    /* 8 AddMinus */ {VecOpaque::AddMinus, VecCover::SubtractScaled},
    /* 9 Multiply */ {VecOpaque::Multiply, VecCover::Blend},
    /* 10 Divide */ {},
    /* 11 Lighten */ {VecOpaque::Lighten, VecCover::LightenBlend},
    /* 12 Darken */ {VecOpaque::Darken, VecCover::DarkenBlend},
    {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {},  // 13-23: served by other rows or nothing to do
    /* 24 Difference */ {VecOpaque::Difference, VecCover::DifferenceScaled},
    /* 25 Subtract */ {VecOpaque::Subtract, VecCover::SubtractSourceScaled},
    /* 26 MultiplyInverse */ {VecOpaque::MultiplyInverse, VecCover::Blend},
    /* 27 Behind */ {VecOpaque::None, VecCover::BehindBlend},
    /* 28 Screen */ {VecOpaque::Screen, VecCover::Blend},
    {}, {}, {}, {}, {}, {}, {},  // 29-35
};

// Whether mode and column have a vector path (evaluated at compile time only).
template <std::uint32_t Mode, std::uint32_t Col>
constexpr bool HasVectorPath() {
    constexpr VecModeSpec spec = kVecModeSpecs[Mode];
    if constexpr (Col == kCoverOpaque) {
        return spec.opaque != VecOpaque::None;
    } else if constexpr (Col == kCoverMaskMaskConstant) {
        return spec.cover != VecCover::None && spec.productCol5;
    } else {
        return spec.cover != VecCover::None;
    }
}

// A vector run: processes the run's leading whole vectors and returns how
// many pixels it did (a multiple of the vector width, at most n).
using VecFillRun = std::uint32_t (*)(std::uint32_t c, std::uint32_t n, std::uint8_t* dst,
                                     const RIPKernelCoverage* cov);
using VecBlitRun = std::uint32_t (*)(std::uint32_t n, std::uint8_t* dst, const std::uint8_t* src,
                                     const RIPKernelCoverage* cov);

// A run of one pixel value: `bytes` bytes from dst repeating the `size`
// bytes at px (2, 3, 4 or 6). Returns the bytes done, whole pixels; the
// plain loop writes the rest from the pattern's start.
using VecPatternFill = std::size_t (*)(std::uint8_t* dst, std::size_t bytes, const std::uint8_t* px,
                                       std::size_t size);

// A run of n 16-bit samples, each moved toward its operand by its own 8-bit
// weight: dst = q(src·w + dst·(255 − w)), the blend of the 16-bit modes, with
// one weight byte a sample. Returns the samples done (whole vectors).
using VecBlend16Run = std::uint32_t (*)(std::uint32_t n, std::uint8_t* dst, const std::uint8_t* src,
                                        const std::uint8_t* weights);

// Runs at least this long are stored past the caches: a fill that large
// would evict everything else and is not read back soon, and a store that
// skips the cache does not first read the line it overwrites, which is what
// keeps the plain stores at half the memory's write bandwidth.
inline constexpr std::size_t kStreamFillBytes = std::size_t{4} << 20;

struct VectorKernels {
    VecFillRun fill[kRIPMergeModeCount][kRIPCoverageVariantCount] = {};
    VecBlitRun blit[kRIPMergeModeCount][kRIPCoverageVariantCount] = {};
    VecPatternFill patternFill = nullptr;
    VecBlend16Run blend16 = nullptr;
};

#if defined(__x86_64__) || defined(__i386__)
#define SVGFILTER_KERNELS_X86 1
extern const VectorKernels kSse2VectorKernels;
extern const VectorKernels kAvx2VectorKernels;
#endif

// The table of the features in force, or null for the plain path.
const VectorKernels* ActiveVectorKernels();

}  // namespace raster::kernels::detail

// The module state the kernels read: product table and SoftLight curves as
// compile-time data, and the processor-feature word detected at start-up.
#include "kernels/kernel_state.h"

#include <array>
#include <cstdlib>
#include <cstring>

#include "kernel_math.h"
#include "vector_kernels.h"

namespace raster::kernels {
namespace {

constexpr std::array<std::uint8_t, kRIPProductTableSize> kProductTable = [] {
    std::array<std::uint8_t, kRIPProductTableSize> t{};
    for (std::uint32_t x = 0; x < kRIPProductTableSize; ++x) {
        t[x] = static_cast<std::uint8_t>(x / 255);
    }
    return t;
}();

constexpr std::uint32_t IntegerSqrt(std::uint32_t v) {
    std::uint32_t r = 0;
    while ((r + 1) * (r + 1) <= v) {
        ++r;
    }
    return r;
}

constexpr std::array<std::uint8_t, 256> kSoftLightLow = [] {
    std::array<std::uint8_t, 256> t{};
    for (std::uint32_t d = 0; d < 256; ++d) {
        t[d] = static_cast<std::uint8_t>(d * d / 255);
    }
    return t;
}();

constexpr std::array<std::uint8_t, 256> kSoftLightHigh = [] {
    std::array<std::uint8_t, 256> t{};
    for (std::uint32_t d = 0; d < 256; ++d) {
        t[d] = static_cast<std::uint8_t>(IntegerSqrt(255 * d));
    }
    return t;
}();

std::uint32_t HardwareFeatures() {
#if SVGFILTER_KERNELS_X86
    __builtin_cpu_init();
    std::uint32_t f = 0;
    if (__builtin_cpu_supports("sse2")) {
        f |= kRIPFeatureVector;
        if (__builtin_cpu_supports("avx2")) {
            f |= kRIPFeatureWide;
        }
    }
    return f;
#else
    return 0;
#endif
}

}  // namespace

const std::uint8_t* const RIPProductTable = kProductTable.data();
const std::uint8_t* const RIPSoftLightCurveLow = kSoftLightLow.data();
const std::uint8_t* const RIPSoftLightCurveHigh = kSoftLightHigh.data();

std::uint32_t RIPDetectProcessorFeatures() {
    std::uint32_t f = HardwareFeatures();
    if (const char* path = std::getenv("SVGFILTER_KERNEL_PATH")) {
        if (std::strcmp(path, "plain") == 0) {
            f = 0;
        } else if (std::strcmp(path, "sse2") == 0) {
            f &= kRIPFeatureVector;
        }
    }
    return f;
}

// Zero until start-up has run, which is the plain path: correct, only slower.
std::atomic<std::uint32_t> RIPProcessorFeatures{RIPDetectProcessorFeatures()};

std::uint32_t RIPSetProcessorFeatures(std::uint32_t features) {
    std::uint32_t f = features & HardwareFeatures();
    if ((f & kRIPFeatureVector) == 0) {
        f = 0;  // the wide path builds on the narrow one
    }
    return RIPProcessorFeatures.exchange(f, std::memory_order_relaxed);
}

namespace detail {

const VectorKernels* ActiveVectorKernels() {
#if SVGFILTER_KERNELS_X86
    const std::uint32_t f = RIPProcessorFeatures.load(std::memory_order_relaxed);
    if (f & kRIPFeatureWide) {
        return &kAvx2VectorKernels;
    }
    if (f & kRIPFeatureVector) {
        return &kSse2VectorKernels;
    }
#endif
    return nullptr;
}

RIPKernelRandom& ThreadRandom() {
    thread_local RIPKernelRandom random;
    return random;
}

}  // namespace detail
}  // namespace raster::kernels

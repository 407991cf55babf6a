// The opaque Set fills of the multi-byte formats (2, 3, 4 and 6 bytes a
// pixel) through each vector path against the plain path: every start
// address within two vectors, lengths around the vector period, and runs
// long enough to take the cache-bypassing stores, with guard bytes on both
// sides.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "kernel_paths.h"
#include "kernels/direct_kernels.h"

namespace raster::kernels {
namespace {

using testing::AvailablePaths;
using testing::ScopedPath;

constexpr std::size_t kGuard = 64;
constexpr std::uint8_t kGuardByte = 0xA5;

struct SetFill {
    const char* name;
    RIPFillKernel kernel;
    std::size_t size;
};

constexpr SetFill kFills[] = {
    {"Set16", &RIPFillKernelSet16, 2},
    {"Set24", &RIPFillKernelSet24, 3},
    {"Set32", &RIPFillKernelSet32, 4},
    {"Set48", &RIPFillKernelSet48, 6},
};

RIPKernelParams::Fill Colour() {
    RIPKernelParams::Fill params;
    // Bytes that differ from each other and from the guard, so a pixel put
    // out of phase shows.
    for (int i = 0; i < 16; ++i) {
        params.color.At(i) = static_cast<std::uint8_t>(0x11 * (i + 1));
    }
    return params;
}

std::vector<std::uint8_t> Filled(const SetFill& f, std::uint32_t features, std::size_t offset, std::uint32_t n) {
    ScopedPath scope(features);
    std::vector<std::uint8_t> row(2 * kGuard + offset + f.size * n, kGuardByte);
    const RIPKernelParams::Fill params = Colour();
    f.kernel(&params, n, row.data() + kGuard + offset, nullptr);
    return row;
}

void ExpectPathsAgree(std::size_t offset, std::uint32_t n) {
    for (const SetFill& f : kFills) {
        const std::vector<std::uint8_t> plain = Filled(f, 0, offset, n);
        for (const auto& path : AvailablePaths()) {
            ASSERT_EQ(Filled(f, path.features, offset, n), plain)
                << f.name << " path " << path.name << " offset " << offset << " n " << n;
        }
    }
}

TEST(VectorFill, EqualsThePlainPathAtEveryOffsetAndShortLength) {
    for (std::size_t offset = 0; offset < 64; ++offset) {
        for (std::uint32_t n = 0; n < 160; ++n) {
            ExpectPathsAgree(offset, n);
        }
    }
}

TEST(VectorFill, EqualsThePlainPathOnLongRuns) {
    // Rows of a 4096-pixel image, and runs past the streaming threshold
    // (4 MiB) whose length is no multiple of any vector.
    for (std::size_t offset : {0u, 1u, 5u, 31u}) {
        for (std::uint32_t n : {4096u, 4096u * 3 + 7, (5u << 20) / 3 + 11}) {
            ExpectPathsAgree(offset, n);
        }
    }
}

}  // namespace
}  // namespace raster::kernels

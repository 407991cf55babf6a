// Table selection for every type code.
#include <gtest/gtest.h>

#include "raster/kernel_select.h"

namespace raster {
namespace {

using namespace kernels;

const RIPFillKernelTable* FillTableFor(std::uint32_t type, std::int32_t bits) {
    switch (type) {
        case 14: return &RIPFillKernels16;
        case 12: return &RIPFillKernels48;
        case 3: return &RIPFillKernels32;
        case 1: return &RIPFillKernels24;
        case 11: return &RIPFillKernelsLab;
        case 5: case 99: return &RIPFillKernels8;
        case 10: return bits == 8 ? &RIPFillKernelsP8 : nullptr;
        case 6: return &RIPFillKernels1;
        default: return nullptr;
    }
}
const RIPBlitKernelTable* BlitTableFor(std::uint32_t type, std::int32_t bits) {
    switch (type) {
        case 14: return &RIPBlitKernels16;
        case 12: return &RIPBlitKernels48;
        case 3: return &RIPBlitKernels32;
        case 1: return &RIPBlitKernels24;
        case 11: return &RIPBlitKernelsLab;
        case 5: case 99: return &RIPBlitKernels8;
        case 10: return bits == 8 ? &RIPBlitKernelsP8 : nullptr;
        case 6: return &RIPBlitKernels1;
        default: return nullptr;
    }
}

TEST(KernelSelect, EveryTypeCodeFindsItsTableOrNone) {
    for (std::uint32_t type = 0; type < 256; ++type) {
        for (std::int32_t bits : {1, 4, 8, 16, 24}) {
            for (std::uint32_t mode : {0u, 9u, 35u}) {
                const RIPFillKernelTable* fill = FillTableFor(type, bits);
                const RIPBlitKernelTable* blit = BlitTableFor(type, bits);
                EXPECT_EQ(RIPSpanKernelTableSelect(type, bits, mode), fill ? &(*fill)[mode] : nullptr)
                    << type << "/" << bits << "/" << mode;
                EXPECT_EQ(RIPBlitKernelTableSelect(type, bits, mode), blit ? &(*blit)[mode] : nullptr)
                    << type << "/" << bits << "/" << mode;
            }
        }
    }
    EXPECT_EQ(RIPSpanKernelTableSelect(99, 8, 3), RIPSpanKernelTableSelect(5, 8, 3));
}

TEST(KernelSelect, ModesPastTheTablesSelectNothing) {
    EXPECT_EQ(RIPSpanKernelTableSelect(5, 8, 36), nullptr);
    EXPECT_EQ(RIPBlitKernelTableSelect(1, 24, 0xFFFFFFFFu), nullptr);
}

}  // namespace
}  // namespace raster

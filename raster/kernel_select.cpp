// Table selection by pixel format. A mode past the tables' last row selects
// nothing rather than reading past them.
#include "raster/kernel_select.h"

namespace raster {
namespace {

using namespace kernels;

template <class Table>
const typename Table::value_type* Select(std::uint32_t type, std::int32_t bits, std::uint32_t mode,
                                          const Table& t16, const Table& t48, const Table& t32, const Table& t24,
                                          const Table& tLab, const Table& t8, const Table& tP8, const Table& t1) {
    if (mode >= kRIPMergeModeCount) {
        return nullptr;
    }
    const Table* table = nullptr;
    switch (type) {
        case 14: table = &t16; break;
        case 12: table = &t48; break;
        case 3: table = &t32; break;
        case 1: table = &t24; break;
        case 11: table = &tLab; break;
        case 5:
        case 99: table = &t8; break;
        case 10: table = bits == 8 ? &tP8 : nullptr; break;
        case 6: table = &t1; break;
        default: break;
    }
    return table != nullptr ? &(*table)[mode] : nullptr;
}

}  // namespace

const RIPFillKernelRow* RIPSpanKernelTableSelect(std::uint32_t type, std::int32_t bitsPerPixel, std::uint32_t mode) {
    return Select(type, bitsPerPixel, mode, RIPFillKernels16, RIPFillKernels48, RIPFillKernels32, RIPFillKernels24,
                  RIPFillKernelsLab, RIPFillKernels8, RIPFillKernelsP8, RIPFillKernels1);
}

const RIPBlitKernelRow* RIPBlitKernelTableSelect(std::uint32_t type, std::int32_t bitsPerPixel, std::uint32_t mode) {
    return Select(type, bitsPerPixel, mode, RIPBlitKernels16, RIPBlitKernels48, RIPBlitKernels32, RIPBlitKernels24,
                  RIPBlitKernelsLab, RIPBlitKernels8, RIPBlitKernelsP8, RIPBlitKernels1);
}

}  // namespace raster

// The tables whose families are still to come, in their final shape: every
// own kernel is RIPKernelPending, while aliases, no-op rows, null rows and the
// rows borrowed from chan-8 stand as they will. A family that is built moves
// its table from here into its own unit and puts its rows in place of the
// pending ones.
#include "table_rows.h"

namespace raster::kernels {
namespace {

using namespace detail;

constexpr RIPFillKernelTable BuildFill24() {
    RIPFillKernelTable t{};
    PutRange(t, 0, 20, kFillPendingRow);
    PutRange(t, 24, 34, kFillPendingRow);
    t[27][kCoverOpaque] = kRIPFillNoOp;
    t[32][kCoverOpaque] = t[0][kCoverOpaque];
    Put(t, {21, 22, 23, 35}, kFillNoOpRow);
    return t;
}
constexpr RIPFillKernelTable kFill24 = BuildFill24();

constexpr RIPFillKernelTable BuildFillLab() {
    RIPFillKernelTable t{};
    Put(t, {9, 11, 12, 28, 29, 30, 31, 32, 33, 34}, kFillPendingRow);
    for (std::uint32_t m : {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 18, 19, 20, 24, 25, 26, 27}) {
        t[m] = kFill24[m];
    }
    t[17] = kFill24[18];
    t[32][kCoverOpaque] = kFill24[0][kCoverOpaque];
    Put(t, {21, 22, 23, 35}, kFillNoOpRow);
    return t;
}

constexpr RIPBlitKernelTable BuildBlit24() {
    RIPBlitKernelTable t{};
    t[0] = kBlitPendingRow;
    PutRange(t, 11, 20, kBlitPendingRow);
    for (std::uint32_t m : {1, 2, 3, 4, 5, 6, 7, 24, 25, 32}) {
        t[m] = kBlitPendingRow;
    }
    CoverageFromChannel8(t, {1, 2, 3, 4, 5, 6, 7, 24, 25});
    RowsFromChannel8(t, {8, 9, 10, 26, 27, 28, 29, 30, 31, 33, 34});
    t[32][kCoverOpaque] = t[0][kCoverOpaque];
    Put(t, {21, 22, 23, 35}, kBlitNoOpRow);
    return t;
}
constexpr RIPBlitKernelTable kBlit24 = BuildBlit24();

constexpr RIPBlitKernelTable BuildBlitLab() {
    RIPBlitKernelTable t{};
    Put(t, {9, 11, 12, 28}, kBlitPendingRow);
    for (std::uint32_t m : {0, 32, 18, 19, 20}) {
        t[m] = kBlit24[m];
    }
    for (std::uint32_t m : {1, 2, 3, 4, 5, 6, 7, 24, 25}) {
        t[m][kCoverOpaque] = kBlit24[m][kCoverOpaque];
    }
    t[17] = kBlit24[18];
    CoverageFromChannel8(t, {1, 2, 3, 4, 5, 6, 7, 24, 25});
    RowsFromChannel8(t, {8, 10, 26, 27, 29, 30, 31, 33, 34});
    Put(t, {21, 22, 23, 35}, kBlitNoOpRow);
    return t;
}

}  // namespace

constexpr RIPFillKernelTable RIPFillKernels24 = kFill24;
constexpr RIPFillKernelTable RIPFillKernelsLab = BuildFillLab();
constexpr RIPBlitKernelTable RIPBlitKernels24 = kBlit24;
constexpr RIPBlitKernelTable RIPBlitKernelsLab = BuildBlitLab();

}  // namespace raster::kernels

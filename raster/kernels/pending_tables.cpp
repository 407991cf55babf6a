// The tables whose families are still to come, in their final shape: every
// own kernel is RIPKernelPending, while aliases, no-op rows, null rows and the
// rows borrowed from chan-8 stand as they will. A family that is built moves
// its table from here into its own unit and puts its rows in place of the
// pending ones.
#include <initializer_list>

#include "grey8_kernels.h"

namespace raster::kernels {
namespace {

using namespace detail;

template <class Table, class Row>
constexpr void Put(Table& t, std::initializer_list<std::uint32_t> rows, const Row& row) {
    for (std::uint32_t m : rows) {
        t[m] = row;
    }
}
template <class Table, class Row>
constexpr void PutRange(Table& t, std::uint32_t first, std::uint32_t last, const Row& row) {
    for (std::uint32_t m = first; m <= last; ++m) {
        t[m] = row;
    }
}
// Columns 1-5 of the rows from chan-8, column 0 left as it is.
constexpr void CoverageFromChannel8(RIPBlitKernelTable& t, std::initializer_list<std::uint32_t> rows) {
    for (std::uint32_t m : rows) {
        for (std::uint32_t c = 1; c < kRIPCoverageVariantCount; ++c) {
            t[m][c] = kChannel8Table[m][c];
        }
    }
}
constexpr void RowsFromChannel8(RIPBlitKernelTable& t, std::initializer_list<std::uint32_t> rows) {
    for (std::uint32_t m : rows) {
        t[m] = kChannel8Table[m];
    }
}

// fill-16 and fill-48: only Set; channel and no-op rows do nothing.
constexpr RIPFillKernelTable BuildFill16Or48() {
    RIPFillKernelTable t{};
    t[0] = kFillPendingRow;
    PutRange(t, 18, 23, kFillNoOpRow);
    t[35] = kFillNoOpRow;
    return t;
}

constexpr RIPFillKernelTable BuildFill32() {
    RIPFillKernelTable t{};
    PutRange(t, 0, 13, kFillPendingRow);
    PutRange(t, 18, 21, kFillPendingRow);
    PutRange(t, 24, 34, kFillPendingRow);
    t[27][kCoverOpaque] = kRIPFillNoOp;
    t[32][kCoverOpaque] = t[0][kCoverOpaque];
    Put(t, {22, 23, 35}, kFillNoOpRow);
    return t;
}

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

// fill-1 and blit-1: seven bit operations stand for every mode they can;
// the blit's Brightness row copies where the fill's does nothing.
template <class Table, class Row>
constexpr Table BuildBilevel(const Row& pending, const Row& noOp, bool blit) {
    Table t{};
    PutRange(t, 0, 6, pending);
    for (std::uint32_t m : {7, 11, 28, 33}) {
        t[m] = t[2];
    }
    for (std::uint32_t m : {8, 9, 12, 34}) {
        t[m] = t[1];
    }
    for (std::uint32_t m : {18, 30, 31, 32}) {
        t[m] = t[0];
    }
    t[24] = t[3];
    t[25] = t[4];
    t[26] = t[4];
    PutRange(t, 14, 16, noOp);
    t[17] = blit ? t[0] : noOp;
    PutRange(t, 19, 23, noOp);
    Put(t, {29, 35}, noOp);
    return t;
}

constexpr RIPBlitKernelTable BuildBlit16() {
    RIPBlitKernelTable t{};
    t[0] = kBlitPendingRow;
    t[18] = t[0];
    PutRange(t, 19, 23, kBlitNoOpRow);
    t[35] = kBlitNoOpRow;
    return t;
}

constexpr RIPBlitKernelTable BuildBlit48() {
    RIPBlitKernelTable t{};
    Put(t, {0, 18, 19, 20}, kBlitPendingRow);
    Put(t, {21, 22, 23, 35}, kBlitNoOpRow);
    return t;
}

constexpr RIPBlitKernelTable BuildBlit32() {
    RIPBlitKernelTable t{};
    Put(t, {0, 7, 8, 10, 11, 12, 13, 18, 19, 20, 21, 26}, kBlitPendingRow);
    for (std::uint32_t m : {1, 2, 3, 4, 5, 6, 24, 25, 32}) {
        t[m] = kBlitPendingRow;
    }
    CoverageFromChannel8(t, {1, 2, 3, 4, 5, 6, 24, 25});
    t[9] = kChannel8Table[kModeScreen];  // ink multiplies as light screens
    t[28] = kChannel8Table[kModeScreen];
    RowsFromChannel8(t, {27, 29, 30, 31, 33, 34});
    t[32][kCoverOpaque] = t[0][kCoverOpaque];
    Put(t, {22, 23, 35}, kBlitNoOpRow);
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

constexpr RIPChannelKernelTable BuildChannel16() {
    RIPChannelKernelTable t{};
    PutRange(t, 0, 12, kBlitPendingRow);
    PutRange(t, 24, 28, kBlitPendingRow);
    Put(t, {32, 33, 34}, kBlitPendingRow);
    t[27][kCoverOpaque] = kRIPBlitNoOp;
    t[13] = t[9];
    t[18] = t[0];
    t[32][kCoverOpaque] = t[0][kCoverOpaque];
    PutRange(t, 14, 17, kBlitNoOpRow);
    PutRange(t, 19, 23, kBlitNoOpRow);
    PutRange(t, 29, 31, kBlitNoOpRow);
    t[35] = kBlitNoOpRow;
    return t;
}

}  // namespace

constexpr RIPFillKernelTable RIPFillKernels16 = BuildFill16Or48();
constexpr RIPFillKernelTable RIPFillKernels48 = BuildFill16Or48();
constexpr RIPFillKernelTable RIPFillKernels32 = BuildFill32();
constexpr RIPFillKernelTable RIPFillKernels24 = kFill24;
constexpr RIPFillKernelTable RIPFillKernelsLab = BuildFillLab();
constexpr RIPFillKernelTable RIPFillKernels1 = BuildBilevel<RIPFillKernelTable>(kFillPendingRow, kFillNoOpRow, false);
constexpr RIPBlitKernelTable RIPBlitKernels16 = BuildBlit16();
constexpr RIPBlitKernelTable RIPBlitKernels48 = BuildBlit48();
constexpr RIPBlitKernelTable RIPBlitKernels32 = BuildBlit32();
constexpr RIPBlitKernelTable RIPBlitKernels24 = kBlit24;
constexpr RIPBlitKernelTable RIPBlitKernelsLab = BuildBlitLab();
constexpr RIPBlitKernelTable RIPBlitKernels1 = BuildBilevel<RIPBlitKernelTable>(kBlitPendingRow, kBlitNoOpRow, true);
constexpr RIPChannelKernelTable RIPChannelKernels16 = BuildChannel16();

}  // namespace raster::kernels

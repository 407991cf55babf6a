// The shape of the eighteen tables, slot by slot, against a transcription of
// their layout: own kernels, aliases (by pointer), no-op and null slots.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "death_test_style.h"
#include "kernels/kernel_tables.h"

namespace raster::kernels {
namespace {

enum class Kind { Null, NoOp, Own, Alias };
struct Slot {
    Kind kind = Kind::Null;
    std::string table;  // Alias: where the very same kernel stands
    int row = 0;
    int col = 0;
};
using Layout = std::vector<std::vector<Slot>>;

// Builds a layout the way the tables are described: rows (or single columns)
// that are own, no-op, or taken from another row.
class Shape {
public:
    Shape() : slots_(36, std::vector<Slot>(6)) {}
    Shape& Own(std::initializer_list<int> rows, int firstCol = 0, int lastCol = 5) {
        for (int r : rows) for (int c = firstCol; c <= lastCol; ++c) slots_[r][c] = {Kind::Own, "", 0, 0};
        return *this;
    }
    Shape& OwnRange(int first, int last) {
        for (int r = first; r <= last; ++r) Own({r});
        return *this;
    }
    Shape& NoOp(std::initializer_list<int> rows, int firstCol = 0, int lastCol = 5) {
        for (int r : rows) for (int c = firstCol; c <= lastCol; ++c) slots_[r][c] = {Kind::NoOp, "", 0, 0};
        return *this;
    }
    Shape& NoOpRange(int first, int last) {
        for (int r = first; r <= last; ++r) NoOp({r});
        return *this;
    }
    // rows take the slots of (table, row given by `from`), columns firstCol..lastCol.
    Shape& Alias(std::initializer_list<int> rows, const std::string& table, std::function<int(int)> from,
                 int firstCol = 0, int lastCol = 5) {
        for (int r : rows) for (int c = firstCol; c <= lastCol; ++c) slots_[r][c] = {Kind::Alias, table, from(r), c};
        return *this;
    }
    Layout Done() const { return slots_; }

private:
    Layout slots_;
};

std::function<int(int)> Same() { return [](int r) { return r; }; }
std::function<int(int)> RowOf(int row) { return [row](int) { return row; }; }

// Where a table's own kernels are still RIPKernelPending.
const std::set<std::string> kBuiltFamilies = {"fill-8", "blit-8", "chan-8",
                                               "fill-24", "fill-Lab", "blit-24", "blit-Lab",
                                               "fill-32", "blit-32",
                                               "fill-P8",
                                               "fill-1", "blit-1",
                                               "fill-16", "fill-48", "chan-16", "blit-16", "blit-48"};

std::map<std::string, Layout> Transcription() {
    std::map<std::string, Layout> t;
    const Layout sixteen = Shape().Own({0}).NoOpRange(18, 23).NoOp({35}).Done();
    t["fill-16"] = sixteen;
    t["fill-48"] = sixteen;
    t["fill-32"] = Shape().OwnRange(0, 13).OwnRange(18, 21).OwnRange(24, 34).NoOp({27}, 0, 0)
                       .Alias({32}, "fill-32", RowOf(0), 0, 0).NoOp({22, 23, 35}).Done();
    t["fill-24"] = Shape().OwnRange(0, 20).OwnRange(24, 34).NoOp({27}, 0, 0)
                       .Alias({32}, "fill-24", RowOf(0), 0, 0).NoOp({21, 22, 23, 35}).Done();
    // Overlay to Burn give the RGB kernels' bytes on Lab, and are those kernels.
    t["fill-Lab"] = Shape().Own({9, 11, 12, 28})
                        .Alias({0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 18, 19, 20, 24, 25, 26, 27, 29, 30, 31, 32, 33, 34},
                               "fill-24", Same())
                        .Alias({17}, "fill-24", RowOf(18)).Alias({32}, "fill-24", RowOf(0), 0, 0)
                        .NoOp({21, 22, 23, 35}).Done();
    t["fill-8"] = Shape().OwnRange(0, 12).OwnRange(24, 34).NoOp({27}, 0, 0).Alias({13}, "fill-8", RowOf(9))
                      .Alias({18}, "fill-8", RowOf(0)).Alias({32}, "fill-8", RowOf(0), 0, 0)
                      .NoOpRange(14, 17).NoOpRange(19, 23).NoOp({35}).Done();
    t["fill-P8"] = Shape().Own({0}, 1, 5).Alias({0}, "fill-8", RowOf(0), 0, 0).Alias({18}, "fill-P8", RowOf(0))
                       .NoOpRange(19, 23).NoOp({35}).Done();
    t["fill-1"] = Shape().OwnRange(0, 6).Alias({7, 11, 28, 33}, "fill-1", RowOf(2))
                      .Alias({8, 9, 12, 34}, "fill-1", RowOf(1)).Alias({18, 30, 31, 32}, "fill-1", RowOf(0))
                      .Alias({24}, "fill-1", RowOf(3)).Alias({25, 26}, "fill-1", RowOf(4))
                      .NoOpRange(14, 17).NoOpRange(19, 23).NoOp({29, 35}).Done();
    t["blit-16"] = Shape().Own({0}).Alias({18}, "blit-16", RowOf(0)).NoOpRange(19, 23).NoOp({35}).Done();
    t["blit-48"] = Shape().Own({0, 18, 19, 20}).NoOp({21, 22, 23, 35}).Done();
    t["blit-32"] = Shape().Own({0, 7, 8, 10, 11, 12, 13, 18, 19, 20, 21, 26}).Own({32}, 1, 5)
                       .Own({1, 2, 3, 4, 5, 6, 24, 25}, 0, 0)
                       .Alias({1, 2, 3, 4, 5, 6, 24, 25}, "chan-8", Same(), 1, 5)
                       .Alias({9, 28}, "chan-8", RowOf(28)).Alias({27, 29, 30, 31, 33, 34}, "chan-8", Same())
                       .Alias({32}, "blit-32", RowOf(0), 0, 0).NoOp({22, 23, 35}).Done();
    t["blit-8"] = Shape().Own({0}).Own({1, 2, 3, 4, 5, 6, 7, 24, 25}, 0, 0)
                      .Alias({1, 2, 3, 4, 5, 6, 7, 24, 25}, "chan-8", Same(), 1, 5)
                      .Alias({8, 9, 10, 11, 12, 26, 27, 28, 29, 30, 31, 33, 34}, "chan-8", Same())
                      .Alias({13}, "chan-8", RowOf(9)).Alias({18}, "blit-8", RowOf(0))
                      .Alias({32}, "blit-8", RowOf(0), 0, 0).Alias({32}, "chan-8", RowOf(32), 1, 5)
                      .NoOpRange(14, 17).NoOpRange(19, 23).NoOp({35}).Done();
    t["blit-P8"] = Shape().Alias({0, 18}, "blit-8", RowOf(0), 0, 0).NoOpRange(19, 23).Done();
    t["blit-1"] = Shape().OwnRange(0, 6).Alias({7, 11, 28, 33}, "blit-1", RowOf(2))
                      .Alias({8, 9, 12, 34}, "blit-1", RowOf(1)).Alias({17, 18, 30, 31, 32}, "blit-1", RowOf(0))
                      .Alias({24}, "blit-1", RowOf(3)).Alias({25, 26}, "blit-1", RowOf(4))
                      .NoOpRange(14, 16).NoOpRange(19, 23).NoOp({29, 35}).Done();
    t["blit-24"] = Shape().Own({0}).OwnRange(11, 20).Own({32}, 1, 5).Own({1, 2, 3, 4, 5, 6, 7, 24, 25}, 0, 0)
                       .Alias({1, 2, 3, 4, 5, 6, 7, 24, 25}, "chan-8", Same(), 1, 5)
                       .Alias({8, 9, 10, 26, 27, 28, 29, 30, 31, 33, 34}, "chan-8", Same())
                       .Alias({32}, "blit-24", RowOf(0), 0, 0).NoOp({21, 22, 23, 35}).Done();
    t["blit-Lab"] = Shape().Own({9, 11, 12, 28}).Alias({0, 32, 18, 19, 20}, "blit-24", Same())
                        .Alias({1, 2, 3, 4, 5, 6, 7, 24, 25}, "blit-24", Same(), 0, 0)
                        .Alias({17}, "blit-24", RowOf(18))
                        .Alias({1, 2, 3, 4, 5, 6, 7, 24, 25}, "chan-8", Same(), 1, 5)
                        .Alias({8, 10, 26, 27, 29, 30, 31, 33, 34}, "chan-8", Same())
                        .NoOp({21, 22, 23, 35}).Done();
    t["chan-8"] = Shape().OwnRange(0, 12).OwnRange(24, 34).NoOp({27}, 0, 0).Alias({13}, "chan-8", RowOf(9))
                      .Alias({18}, "chan-8", RowOf(0)).Alias({32}, "chan-8", RowOf(0), 0, 0)
                      .NoOpRange(14, 17).NoOpRange(19, 23).NoOp({35}).Done();
    t["chan-16"] = Shape().OwnRange(0, 12).OwnRange(24, 28).Own({32}, 1, 5).Own({33, 34}).NoOp({27}, 0, 0)
                       .Alias({13}, "chan-16", RowOf(9)).Alias({18}, "chan-16", RowOf(0))
                       .Alias({32}, "chan-16", RowOf(0), 0, 0).NoOpRange(14, 17).NoOpRange(19, 23)
                       .NoOpRange(29, 31).NoOp({35}).Done();
    return t;
}

// Every slot as an untyped pointer, so fill and blit tables compare alike.
const void* SlotOf(const std::string& table, int row, int col) {
    static const std::map<std::string, const RIPFillKernelTable*> fills = {
        {"fill-16", &RIPFillKernels16}, {"fill-48", &RIPFillKernels48}, {"fill-32", &RIPFillKernels32},
        {"fill-24", &RIPFillKernels24}, {"fill-Lab", &RIPFillKernelsLab}, {"fill-8", &RIPFillKernels8},
        {"fill-P8", &RIPFillKernelsP8}, {"fill-1", &RIPFillKernels1}};
    static const std::map<std::string, const RIPBlitKernelTable*> blits = {
        {"blit-16", &RIPBlitKernels16}, {"blit-48", &RIPBlitKernels48}, {"blit-32", &RIPBlitKernels32},
        {"blit-24", &RIPBlitKernels24}, {"blit-Lab", &RIPBlitKernelsLab}, {"blit-8", &RIPBlitKernels8},
        {"blit-P8", &RIPBlitKernelsP8}, {"blit-1", &RIPBlitKernels1}, {"chan-16", &RIPChannelKernels16},
        {"chan-8", &RIPChannelKernels8}};
    if (auto f = fills.find(table); f != fills.end()) {
        return reinterpret_cast<const void*>((*f->second)[row][col]);
    }
    return reinterpret_cast<const void*>((*blits.at(table))[row][col]);
}

bool IsFill(const std::string& table) { return table.rfind("fill", 0) == 0; }

TEST(KernelTables, EverySlotMatchesTheLayout) {
    const auto layouts = Transcription();
    ASSERT_EQ(layouts.size(), 18u);
    std::map<const void*, std::string> ownedBy;  // built own kernels are all distinct
    for (const auto& [table, layout] : layouts) {
        const void* noOp = IsFill(table) ? reinterpret_cast<const void*>(kRIPFillNoOp)
                                         : reinterpret_cast<const void*>(kRIPBlitNoOp);
        const void* pending = IsFill(table) ? reinterpret_cast<const void*>(kRIPFillPending)
                                            : reinterpret_cast<const void*>(kRIPBlitPending);
        for (int r = 0; r < 36; ++r) {
            for (int c = 0; c < 6; ++c) {
                const std::string where = table + " row " + std::to_string(r) + " column " + std::to_string(c);
                const Slot& want = layout[r][c];
                const void* got = SlotOf(table, r, c);
                switch (want.kind) {
                    case Kind::Null: EXPECT_EQ(got, nullptr) << where; break;
                    case Kind::NoOp: EXPECT_EQ(got, noOp) << where; break;
                    case Kind::Alias:
                        EXPECT_EQ(got, SlotOf(want.table, want.row, want.col)) << where;
                        EXPECT_NE(got, nullptr) << where;
                        break;
                    case Kind::Own:
                        if (!kBuiltFamilies.count(table)) {
                            EXPECT_EQ(got, pending) << where;
                            break;
                        }
                        EXPECT_NE(got, nullptr) << where;
                        EXPECT_NE(got, noOp) << where;
                        EXPECT_NE(got, pending) << where;
                        if (auto [it, fresh] = ownedBy.emplace(got, where); !fresh) {
                            ADD_FAILURE() << where << " holds the kernel of " << it->second;
                        }
                        break;
                }
            }
        }
    }
}

TEST(KernelTablesDeathTest, PendingSlotsStopWithAMessage) {
    UseRunnableDeathTestStyle();
    std::uint8_t px[4] = {};
    RIPKernelParams::Fill params;
    EXPECT_DEATH(kRIPFillPending(&params, 1, px, nullptr), "before its family was built");
}

TEST(KernelTables, NoOpKernelsLeaveTheRowAlone) {
    std::uint8_t px[3] = {1, 2, 3};
    const std::uint8_t src[3] = {9, 9, 9};
    RIPKernelParams::Fill fill;
    RIPKernelParams::Blit blit;
    const RIPKernelCoverage cov{src, src, 128};
    RIPFillKernels8[kModeNone][kCoverMask](&fill, 3, px, &cov);
    RIPBlitKernels8[kModeBehind][kCoverOpaque](&blit, 3, px, src, nullptr);
    EXPECT_EQ(px[0], 1);
    EXPECT_EQ(px[2], 3);
}

struct ColumnCase {
    bool mask1, mask2, partial;
    RIPCoverageVariant want;
};

TEST(KernelColumns, RunCoverageChoosesTheColumn) {
    const std::uint8_t m = 1;
    const ColumnCase cases[] = {
        {false, false, false, kCoverOpaque},     {true, false, false, kCoverMask},
        {true, true, false, kCoverMaskMask},     {false, false, true, kCoverConstant},
        {true, false, true, kCoverMaskConstant}, {true, true, true, kCoverMaskMaskConstant},
    };
    for (const ColumnCase& c : cases) {
        const RIPKernelCoverage cov{c.mask1 ? &m : nullptr, c.mask2 ? &m : nullptr, 255};
        EXPECT_EQ(RIPKernelColumnFor(&cov, c.partial), c.want) << c.mask1 << c.mask2 << c.partial;
    }
    EXPECT_EQ(RIPKernelColumnFor(nullptr, true), kCoverConstant);
}

#ifndef NDEBUG
TEST(KernelColumnsDeathTest, SecondMaskWithoutFirstIsRefused) {
    UseRunnableDeathTestStyle();
    const std::uint8_t m = 1;
    const RIPKernelCoverage cov{nullptr, &m, 255};
    EXPECT_DEATH(RIPKernelColumnFor(&cov, false), "");
}
#endif

}  // namespace
}  // namespace raster::kernels

// Exhausted memory at each of the entry's allocations: the command answers 0
// with errorCode 24849 and leaves the field it would have filled empty.
#include <gtest/gtest.h>

#include "allocation.h"
#include "owned_blocks.h"
#include "svgfilter/filter_abi.h"

namespace {

struct AllocationSite {
    uint32_t code;
    bool fillsExportOptions;  // else the working object
};

class AllocationFailure : public testing::TestWithParam<AllocationSite> {
  protected:
    void TearDown() override { svgf::detail::InjectAllocationFailure(-1); }
};

TEST_P(AllocationFailure, ReportsExhaustedMemory) {
    svgf::FilterContext context{};
    context.size = svgf::kContextSize;
    context.flags = svgf::kFlagNoUserInterface;
    const int64_t before = svgf::detail::AllocationCount();
    svgf::detail::InjectAllocationFailure(0);

    EXPECT_EQ(FilterEntry(GetParam().code, &context), 0);
    EXPECT_EQ(context.errorCode, svgf::kErrNoMemory);
    EXPECT_EQ(context.filterObject, nullptr);
    EXPECT_EQ(context.exportOptions, nullptr);
    EXPECT_EQ(svgf::detail::AllocationCount() - before, 1);

    // The failure was once: the same command now gets its memory.
    context.errorCode = 0;
    FilterEntry(GetParam().code, &context);
    EXPECT_EQ(context.errorCode, 0u);
    if (GetParam().fillsExportOptions) {
        EXPECT_NE(context.exportOptions, nullptr);
        svgf::detail::FreeOwned(context.exportOptions);
    } else {
        EXPECT_NE(context.filterObject, nullptr);
        FilterEntry(GetParam().code == svgf::kCmdBeginExport ? svgf::kCmdEndExport : svgf::kCmdEndImport,
                    &context);
    }
}

INSTANTIATE_TEST_SUITE_P(EntrySites, AllocationFailure,
                         testing::Values(AllocationSite{svgf::kCmdImport, false},
                                         AllocationSite{svgf::kCmdImportSetup, false},
                                         AllocationSite{svgf::kCmdBeginExport, false},
                                         AllocationSite{svgf::kCmdOptions, true}),
                         [](const testing::TestParamInfo<AllocationSite>& info) {
                             return "Code" + std::to_string(info.param.code);
                         });

TEST(AllocationFailure, RepeatedOptionsCommandThatFailsLeavesNoRecord) {
    svgf::FilterContext context{};
    context.flags = svgf::kFlagNoUserInterface;
    const size_t blocks = svgf::detail::OwnedBlockCount();
    ASSERT_EQ(FilterEntry(svgf::kCmdOptions, &context), 1);
    svgf::detail::InjectAllocationFailure(0);
    EXPECT_EQ(FilterEntry(svgf::kCmdOptions, &context), 0);
    svgf::detail::InjectAllocationFailure(-1);
    EXPECT_EQ(context.exportOptions, nullptr);
    EXPECT_EQ(svgf::detail::OwnedBlockCount(), blocks);
}

}  // namespace

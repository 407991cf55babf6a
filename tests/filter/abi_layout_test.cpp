// The record layouts on builds where pointers are wider than the host's: the
// field order must stay the host's even where the offsets cannot.
#include <gtest/gtest.h>

#include <cstddef>

#include "svgfilter/filter_abi.h"

namespace {

using svgf::FilterContext;

TEST(AbiLayout, ContextFieldsKeepTheHostsOrder) {
    const size_t offsets[] = {
        offsetof(FilterContext, size),          offsetof(FilterContext, flags),
        offsetof(FilterContext, fileName),      offsetof(FilterContext, fileHandle),
        offsetof(FilterContext, hostHandle),    offsetof(FilterContext, callbackRecord),
        offsetof(FilterContext, pageRect),      offsetof(FilterContext, errorCode),
        offsetof(FilterContext, filterObject),  offsetof(FilterContext, callbackSet),
        offsetof(FilterContext, parentWindow),  offsetof(FilterContext, exchangeBlock),
        offsetof(FilterContext, hostValue),     offsetof(FilterContext, services),
        offsetof(FilterContext, exportOptions), offsetof(FilterContext, colourHandle),
    };
    for (size_t i = 1; i < std::size(offsets); ++i) EXPECT_LT(offsets[i - 1], offsets[i]) << "field " << i;
    EXPECT_GE(sizeof(FilterContext), size_t{svgf::kContextSize});
}

TEST(AbiLayout, OptionsRecordIsSevenWordsWithTheContextLast) {
    EXPECT_EQ(offsetof(svgf::SVGExportOptions, cssPlacement), 5 * sizeof(uint32_t));
    EXPECT_EQ(offsetof(svgf::SVGExportOptions, context), 6 * sizeof(uint32_t));
}

}  // namespace

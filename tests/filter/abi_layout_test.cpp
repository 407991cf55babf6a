#include <gtest/gtest.h>

#include "svgfilter/filter_abi.h"

TEST(AbiLayout, EntryAnswersNoOpCodes) {
    svgf::FilterContext ctx{};
    EXPECT_EQ(FilterEntry(2, &ctx), 1);
    EXPECT_EQ(FilterEntry(4, &ctx), 0);
}

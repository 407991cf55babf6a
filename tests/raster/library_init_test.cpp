// The library's one-time set-up, raced by several threads.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "raster/library_init.h"

namespace raster {
namespace {

TEST(LibraryInit, ThreadsRacingTheSetUpSeeOneFinishedTable) {
    std::vector<const std::int32_t*> seen(8, nullptr);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < seen.size(); ++i) {
        threads.emplace_back([&seen, i] {
            RIPLibraryInit();
            seen[i] = RIPHighestBitTable();
        });
    }
    for (std::thread& t : threads) t.join();
    for (const std::int32_t* table : seen) ASSERT_EQ(table, seen[0]);
    const std::int32_t* t = seen[0];
    EXPECT_EQ(t[0], -1);
    EXPECT_EQ(t[1], 0);
    EXPECT_EQ(t[2], 1);
    EXPECT_EQ(t[3], 1);
    EXPECT_EQ(t[127], 6);
    EXPECT_EQ(t[128], 7);
    EXPECT_EQ(t[255], 7);
    EXPECT_EQ(RIPInitBitTables(), 1);
}

}  // namespace
}  // namespace raster

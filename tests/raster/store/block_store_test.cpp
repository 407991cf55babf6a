// The block memory manager: the free tree, the budget, and swap records.
#include "raster/store/block_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "platform/files.h"
#include "swap_files.h"

namespace raster {
namespace {

using testing::MemorySwapFiles;
using testing::SwapFileLog;

// Checks order, heights and balance; answers the subtree's node count.
int CheckSubtree(const RIPBlockNode* n, const RIPBlockNode* low, const RIPBlockNode* high,
                 std::uint32_t* height) {
    if (n == nullptr) {
        *height = 0;
        return 0;
    }
    if (low != nullptr) {
        EXPECT_GT(RIPFreeTree::Compare(n, low), 0);
    }
    if (high != nullptr) {
        EXPECT_LT(RIPFreeTree::Compare(n, high), 0);
    }
    std::uint32_t hl = 0, hr = 0;
    const int count = CheckSubtree(n->left, low, n, &hl) + CheckSubtree(n->right, n, high, &hr) + 1;
    EXPECT_EQ(n->height, std::max(hl, hr) + 1);
    EXPECT_LE(hl > hr ? hl - hr : hr - hl, 1u);
    *height = n->height;
    return count;
}

TEST(FreeTree, StaysBalancedAndOrderedThroughRandomInsertsAndRemovals) {
    std::vector<RIPBlockNode> nodes(500);
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        nodes[i].chunk = static_cast<std::uint32_t>(i % 7);
        nodes[i].offset = static_cast<std::uint32_t>(i / 7 * 256);
    }
    std::mt19937 rng(5);
    std::vector<RIPBlockNode*> order;
    for (auto& n : nodes) order.push_back(&n);
    std::shuffle(order.begin(), order.end(), rng);
    RIPFreeTree tree;
    std::vector<RIPBlockNode*> in;
    for (int round = 0; round < 3; ++round) {
        for (RIPBlockNode* n : order) {
            if (std::find(in.begin(), in.end(), n) != in.end()) continue;
            tree.Insert(n);
            in.push_back(n);
        }
        std::shuffle(in.begin(), in.end(), rng);
        const std::size_t keep = in.size() / 3;
        while (in.size() > keep) {
            tree.Remove(in.back());
            in.pop_back();
            if (in.size() % 50 == 0) {
                std::uint32_t h = 0;
                ASSERT_EQ(CheckSubtree(tree.Root(), nullptr, nullptr, &h), static_cast<int>(in.size()));
            }
        }
        std::uint32_t h = 0;
        ASSERT_EQ(CheckSubtree(tree.Root(), nullptr, nullptr, &h), static_cast<int>(in.size()));
        const auto smallest = std::min_element(
            in.begin(), in.end(), [](auto* a, auto* b) { return RIPFreeTree::Compare(a, b) < 0; });
        EXPECT_EQ(tree.First(), *smallest);
    }
}

// Maximum 10 blocks, 4 made; three steps of untiled usage lower the limit to
// 7 and giving them back raises it to 10.
TEST(MemoryStore, UsageLowersAndRaisesTheLimit) {
    RIPMemoryStore store(10, 1000);
    store.SetChunkCountForTest(4);
    store.AddUsage(3000);
    EXPECT_EQ(store.Limit(), 7u);
    store.SubUsage(3000);
    EXPECT_EQ(store.Limit(), 10u);
    EXPECT_EQ(store.Usage(), 0u);
    // Never below the blocks already made.
    store.AddUsage(9500);
    EXPECT_EQ(store.Limit(), 4u);
    store.SubUsage(20000);  // more than was added: usage stops at 0
    EXPECT_EQ(store.Usage(), 0u);
    EXPECT_EQ(store.Limit(), 10u);
}

// Usage added while the pool is at its limit does not lower it, so giving it
// back must not lift the limit past the maximum.
TEST(MemoryStore, LimitNeverPassesTheMaximum) {
    RIPMemoryStore store(10, 1000);
    store.SetChunkCountForTest(4);
    store.AddUsage(3000);  // limit 7
    store.SetChunkCountForTest(7);
    store.AddUsage(2000);  // at the limit: unchanged
    EXPECT_EQ(store.Limit(), 7u);
    store.SubUsage(5000);
    EXPECT_EQ(store.Limit(), 10u);
}

// However much untiled images take, tiled ones keep the blocks a blit locks
// at once.
TEST(MemoryStore, UsageLeavesTheBlocksOfOneBlit) {
    RIPMemoryStore store(10, 1000);
    store.AddUsage(50000);
    EXPECT_EQ(store.Limit(), kMinimumBlocks);
    for (std::uint32_t i = 0; i < kMinimumBlocks; ++i) EXPECT_NE(store.TakeBlock(0), nullptr);
    EXPECT_EQ(store.TakeBlock(0), nullptr);
}

TEST(MemoryStore, HandsOutReleasedBlocksFirstAndStopsAtTheLimit) {
    RIPMemoryStore store(3, kTileBlockBytes);
    RIPBlockNode* a = store.TakeBlock(0);
    RIPBlockNode* b = store.TakeBlock(0);
    RIPBlockNode* c = store.TakeBlock(0);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(store.TakeBlock(0), nullptr);
    store.ReleaseBlock(c);
    store.ReleaseBlock(a);
    EXPECT_EQ(store.TakeBlock(0), a);  // lowest position first
    EXPECT_EQ(store.TakeBlock(0), c);
    EXPECT_NE(store.Address(a), store.Address(b));
    EXPECT_EQ(store.Pool(0).chunkCount, 3u);
}

std::vector<std::uint8_t> Smooth() {
    std::vector<std::uint8_t> b(kTileBlockBytes);
    for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<std::uint8_t>(i / 512 + (i % 256) / 16);
    return b;
}

std::vector<std::uint8_t> Noisy() {
    std::vector<std::uint8_t> b(kTileBlockBytes);
    std::mt19937 rng(9);
    for (auto& v : b) v = static_cast<std::uint8_t>(rng());
    return b;
}

struct SwapCase {
    const char* name;
    bool compression;
    bool noisy;
    bool inSmallPool;  // a compressed record behind a 4-byte header
};

class SwapRecords : public ::testing::TestWithParam<SwapCase> {};

TEST_P(SwapRecords, WriteOutAndReadBack) {
    const SwapCase c = GetParam();
    auto log = std::make_shared<SwapFileLog>();
    RIPSwapStore swap(c.compression, MemorySwapFiles(log));
    const std::vector<std::uint8_t> original = c.noisy ? Noisy() : Smooth();
    std::vector<std::uint8_t> pixels = original;
    std::int32_t uniform = -1;
    RIPBlockNode* record = swap.SwapOut(nullptr, pixels.data(), 256, 5, &uniform);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(uniform, 0);
    if (c.inSmallPool) {
        EXPECT_GT(record->pool, 0u);
        EXPECT_LT(record->size + 4, swap.Pool(static_cast<int>(record->pool)).blockSize);
        ASSERT_EQ(log->writes, 2);  // header, then data
        const std::uint8_t* header = log->bytes.data();
        EXPECT_EQ(header[0] | header[1] << 8, kCodecBitLength);
        EXPECT_EQ(header[2] | header[3] << 8, kPredictCombined);
    } else {
        EXPECT_EQ(record->pool, 0u);
        EXPECT_EQ(record->size, kTileBlockBytes);
        EXPECT_EQ(pixels, original);  // a raw record leaves the pixels as they were
    }
    std::vector<std::uint8_t> back(kTileBlockBytes, 0xEE);
    ASSERT_EQ(swap.SwapIn(record, back.data(), 256, 5), 1);
    EXPECT_EQ(back, original);
}

INSTANTIATE_TEST_SUITE_P(Store, SwapRecords,
                         ::testing::Values(SwapCase{"SmoothCompressed", true, false, true},
                                           SwapCase{"NoisyRaw", true, true, false},
                                           SwapCase{"CompressionOffRaw", false, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SwapStore, UniformBlockTakesNoRecord) {
    auto log = std::make_shared<SwapFileLog>();
    RIPSwapStore swap(true, MemorySwapFiles(log));
    std::vector<std::uint8_t> pixels(kTileBlockBytes, 77);
    std::int32_t uniform = 0;
    EXPECT_EQ(swap.SwapOut(nullptr, pixels.data(), 256, 5, &uniform), nullptr);
    EXPECT_EQ(uniform, 1);
    EXPECT_EQ(pixels[0], 77);  // the colour is still readable from the first pixel
    EXPECT_EQ(log->writes, 0);
}

TEST(SwapStore, FailedWriteKeepsThePixelsAndNoRecord) {
    auto log = std::make_shared<SwapFileLog>();
    log->failFromWrite = 0;
    RIPSwapStore swap(true, MemorySwapFiles(log));
    const std::vector<std::uint8_t> original = Smooth();
    std::vector<std::uint8_t> pixels = original;
    std::int32_t uniform = 0;
    EXPECT_EQ(swap.SwapOut(nullptr, pixels.data(), 256, 5, &uniform), nullptr);
    EXPECT_EQ(pixels, original);  // the predictor is undone
    // A record moved between pools goes back to its old pool's tree.
    log->failFromWrite = -1;
    RIPBlockNode* raw = swap.SwapOut(nullptr, Noisy().data(), 256, 5, &uniform);
    ASSERT_NE(raw, nullptr);
    pixels = original;
    RIPBlockNode* packed = swap.SwapOut(raw, pixels.data(), 256, 5, &uniform);
    ASSERT_NE(packed, nullptr);
    EXPECT_NE(packed->pool, 0u);
    EXPECT_EQ(swap.Pool(0).free.First(), raw);
}

TEST(SwapStore, CorruptRecordIsRefused) {
    auto log = std::make_shared<SwapFileLog>();
    RIPSwapStore swap(true, MemorySwapFiles(log));
    std::vector<std::uint8_t> pixels = Smooth();
    std::int32_t uniform = 0;
    RIPBlockNode* record = swap.SwapOut(nullptr, pixels.data(), 256, 5, &uniform);
    ASSERT_NE(record, nullptr);
    log->bytes[4] ^= 0xFF;  // the first group header
    log->bytes.resize(log->bytes.size() - record->size / 2);
    EXPECT_EQ(swap.SwapIn(record, pixels.data(), 256, 5), 0);
}

// The platform's swap file leaves nothing in the temporary folder, open or not.
TEST(SwapFile, IsGoneFromTheFolderFromTheStart) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("swaptest" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const char* before = std::getenv("TMPDIR");
    const std::string saved = before != nullptr ? before : "";
    ::setenv("TMPDIR", folder.c_str(), 1);
    {
        RIPSwapStore swap(true, [] { return platform::CreateSwapFile("ripswap"); });
        std::vector<std::uint8_t> pixels = Noisy();
        std::int32_t uniform = 0;
        RIPBlockNode* record = swap.SwapOut(nullptr, pixels.data(), 256, 5, &uniform);
        ASSERT_NE(record, nullptr);
        EXPECT_TRUE(std::filesystem::is_empty(folder));
        std::vector<std::uint8_t> back(kTileBlockBytes);
        ASSERT_EQ(swap.SwapIn(record, back.data(), 256, 5), 1);
        EXPECT_EQ(back, pixels);
    }
    if (before != nullptr) {
        ::setenv("TMPDIR", saved.c_str(), 1);
    } else {
        ::unsetenv("TMPDIR");
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder));
    std::filesystem::remove(folder);
}

}  // namespace
}  // namespace raster

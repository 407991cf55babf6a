// The small blocks under nodes and attributes: blocks never overlap while
// alive, a freed block serves its size again, sizes past the largest go to
// the heap, and the slabs go back once the last block does.
#include "markup/small_blocks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "markup/attr_element.h"
#include "markup/attribute.h"
#include "markup/doc_element.h"

namespace markup {
namespace {

struct Held {
    unsigned char* block;
    std::size_t size;
};

TEST(SmallBlocksTest, LiveBlocksOfMixedSizesKeepTheirBytes) {
    const std::size_t before = SmallBlocksInUse();
    std::vector<Held> held;
    // Enough blocks (some 2 MB) to pass from the first small slabs to the
    // large ones; every size from 1 to past the largest.
    constexpr std::size_t kRounds = 900;
    for (std::size_t round = 0; round < kRounds; ++round) {
        for (std::size_t size = 1; size <= kLargestSmallBlock + 40; size += 13) {
            auto* block = static_cast<unsigned char*>(AllocateSmallBlock(size));
            ASSERT_EQ(reinterpret_cast<std::uintptr_t>(block) % 8, 0u);
            std::memset(block, static_cast<int>(held.size() & 0xFF), size);
            held.push_back({block, size});
        }
    }
    EXPECT_EQ(SmallBlocksInUse(), before + held.size() - kRounds * 3);  // three sizes per round are too large
    // Free every other block and make the same sizes again: the new ones
    // must not land on a block still alive.
    for (std::size_t i = 0; i < held.size(); i += 2) FreeSmallBlock(held[i].block, held[i].size);
    for (std::size_t i = 0; i < held.size(); i += 2) {
        held[i].block = static_cast<unsigned char*>(AllocateSmallBlock(held[i].size));
        std::memset(held[i].block, static_cast<int>(i & 0xFF), held[i].size);
    }
    for (std::size_t i = 0; i < held.size(); ++i) {
        for (std::size_t b = 0; b < held[i].size; ++b) ASSERT_EQ(held[i].block[b], i & 0xFF) << i;
    }
    for (const Held& h : held) FreeSmallBlock(h.block, h.size);
    EXPECT_EQ(SmallBlocksInUse(), before);
    if (before == 0) {
        EXPECT_EQ(SmallBlockSlabs(), 0u);
    }
    FreeSmallBlock(nullptr, 8);  // ignored
}

TEST(SmallBlocksTest, NodesAttributesAndShortListsComeAndGoThroughTheBlocks) {
    const std::size_t before = SmallBlocksInUse();
    {
        auto element = std::make_unique<AttrElement>();
        element->AddAttribute(std::make_unique<Attribute>(7u));
        Node* child = new (std::nothrow) DocElement;
        ASSERT_NE(child, nullptr);
        element->AppendChild(child);
        // The element, its attribute, the attribute list's array, the child.
        EXPECT_EQ(SmallBlocksInUse(), before + 4);
        element.release()->DeleteSubtree();
    }
    EXPECT_EQ(SmallBlocksInUse(), before);
}

}  // namespace
}  // namespace markup

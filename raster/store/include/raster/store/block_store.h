// Fixed-size blocks for the tile manager: a memory store whose pool-0 blocks
// hold resident tiles under a budget, and a swap store whose records in a
// temporary file hold evicted tiles, raw (pool 0) or compressed (pools 1-8,
// smaller the higher the number). Released blocks wait in their pool's
// height-balanced tree and are handed out smallest position first.
//
// Called only by the tile manager, under its lock.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/swap_file.h"
#include "raster/store/tile_codecs.h"

namespace raster {

struct RIPTile;

enum RIPBlockFlags : std::uint32_t {
    kBlockLocked = 1,  // its tile is locked
    kBlockInUse = 2,   // memory: a tile's pixels; swap record: the only copy, read back on residence
    kBlockFree = 4,    // waiting in its pool's tree
};

struct RIPBlockNode {
    RIPBlockNode* next = nullptr;  // the pool's list of every block it made
    RIPBlockNode* previous = nullptr;
    std::uint32_t height = 0;  // free tree: 1 for a leaf
    RIPBlockNode* left = nullptr;
    RIPBlockNode* right = nullptr;
    std::uint32_t pool = 0;
    std::uint32_t chunk = 0;
    std::uint32_t offset = 0;  // in the chunk
    std::uint32_t size = 0;    // the pool's block size, or a swap record's stored length
    std::uint32_t flags = 0;
    RIPTile* owner = nullptr;
};

// An AVL tree of free blocks ordered by chunk and offset (and address, so
// only a node itself compares equal to it).
class RIPFreeTree {
  public:
    static int Compare(const RIPBlockNode* a, const RIPBlockNode* b);
    void Insert(RIPBlockNode* node);
    void Remove(RIPBlockNode* node);
    RIPBlockNode* First() const;
    RIPBlockNode* Root() const { return root_; }

  private:
    RIPBlockNode* InsertAt(RIPBlockNode* at, RIPBlockNode* node);
    RIPBlockNode* RemoveAt(RIPBlockNode* at, RIPBlockNode* node);

    RIPBlockNode* root_ = nullptr;
    int tie_ = 0;  // flips on each removal between subtrees of equal height
};

inline constexpr int kPoolCount = 9;
inline constexpr std::uint32_t kTileBlockBytes = 65536;
// A blit locks at most four tiles together: a source and a destination tile
// and a tile of each side's alpha plane. The tile manager never runs with
// fewer memory blocks, and the memory store keeps room for them however much
// untiled images use.
inline constexpr std::uint32_t kMinimumBlocks = 4;

struct RIPPool {
    std::uint32_t blockSize = 0;
    RIPFreeTree free;
    RIPBlockNode* first = nullptr;
    RIPBlockNode* last = nullptr;
    std::uint32_t chunkCount = 0;
    std::uint32_t used = 0;  // bytes placed in the last chunk
};

class RIPBlockStore {
  public:
    virtual ~RIPBlockStore();
    RIPBlockStore(const RIPBlockStore&) = delete;
    RIPBlockStore& operator=(const RIPBlockStore&) = delete;

    // A block not in use (the first free one in tree order, else a new one),
    // or null.
    RIPBlockNode* TakeBlock(int pool);
    // A newly made block, or null when the pool may not grow.
    RIPBlockNode* NewBlock(int pool);
    // Gives a block back to its pool's tree.
    void ReleaseBlock(RIPBlockNode* node);

    const RIPPool& Pool(int pool) const { return pools_[static_cast<std::size_t>(pool)]; }

  protected:
    RIPBlockStore();
    // Adds one chunk to the pool; false when it may not grow.
    virtual bool AddChunk(int pool) = 0;
    // Finds room for the node in the pool's chunks (sets chunk and offset).
    virtual bool PlaceBlock(RIPBlockNode* node) = 0;

    std::array<RIPPool, kPoolCount> pools_;
};

// Memory blocks of pool 0, one chunk each. The limit on pool 0's chunks is
// the maximum less one chunk for every step bytes that untiled images use,
// never below the chunks already made nor below kMinimumBlocks.
class RIPMemoryStore final : public RIPBlockStore {
  public:
    RIPMemoryStore(std::uint32_t maximumChunks, std::uint64_t step);
    ~RIPMemoryStore() override;

    std::uint8_t* Address(const RIPBlockNode* node) const;
    void AddUsage(std::uint64_t bytes);  // RIPTileMgrAddUsage
    void SubUsage(std::uint64_t bytes);  // RIPTileMgrSubUsage
    std::uint32_t Limit() const { return limit_; }
    std::uint32_t Maximum() const { return maximum_; }
    std::uint64_t Usage() const { return usage_; }
    // For tests: pretend pool 0 already has this many chunks.
    void SetChunkCountForTest(std::uint32_t count) { pools_[0].chunkCount = count; }

  protected:
    bool AddChunk(int pool) override;
    bool PlaceBlock(RIPBlockNode* node) override;

  private:
    std::uint64_t step_;
    std::uint32_t limit_;
    std::uint32_t maximum_;
    std::uint64_t usage_ = 0;
    std::vector<std::uint8_t*> chunks_;
};

using RIPSwapFileFactory = std::function<std::unique_ptr<platform::SwapFile>()>;

// Records in one temporary file (made on the first record), each pool's
// chunks regions of it. Tiles go out through the predictor and codec 5 when
// compression is on, raw otherwise.
class RIPSwapStore final : public RIPBlockStore {
  public:
    RIPSwapStore(bool compression, RIPSwapFileFactory files);
    ~RIPSwapStore() override;

    // RIPTileMgrSwapOut: the record that now holds the block (old, or a new
    // one), or null. *uniform becomes 1 (and old comes back unchanged) for a
    // block of one colour; the pixels are then differenced, their first pixel
    // intact. After a compressed write the pixels stay differenced.
    RIPBlockNode* SwapOut(RIPBlockNode* old, std::uint8_t* pixels, std::int32_t rowBytes, std::int32_t type,
                          std::int32_t* uniform);
    // RIPTileMgrSwapIn: 1, or 0 when the record cannot be read or decoded.
    std::int32_t SwapIn(const RIPBlockNode* record, std::uint8_t* pixels, std::int32_t rowBytes,
                        std::int32_t type);

    bool Compression() const { return compression_; }
    // Bytes of the file's regions, for tests and the benchmark.
    std::uint64_t FileBytes() const { return fileEnd_; }

  protected:
    bool AddChunk(int pool) override;
    bool PlaceBlock(RIPBlockNode* node) override;

  private:
    std::uint64_t Position(const RIPBlockNode* node) const;

    bool compression_;
    RIPSwapFileFactory files_;
    std::unique_ptr<platform::SwapFile> file_;
    bool fileFailed_ = false;
    std::uint64_t fileEnd_ = 0;
    std::array<std::vector<std::uint64_t>, kPoolCount> chunkBase_;
    std::unique_ptr<RIPLZWWork> lzw_;
    std::vector<std::uint8_t> scratch_;
};

}  // namespace raster

// The swap store: evicted tiles as records in one temporary file. A record in
// pool 0 is the raw block; in pools 1-8 a four-byte header (codec and
// predictor kind, u16 each, little-endian) and the compressed bytes.
#include <cstring>
#include <new>

#include "raster/store/block_store.h"

namespace raster {
namespace {

// Each chunk is a region of the file this long, so every pool's block size
// divides it.
constexpr std::uint64_t kChunkBytes = 1u << 20;
// The header of a compressed record, written field by field little-endian.
struct RIPSwapRecordHeader {
    std::uint16_t codec;
    std::uint16_t kind;  // the predictor to undo
};
static_assert(sizeof(RIPSwapRecordHeader) == 4, "two u16 fields, no padding");
constexpr std::uint32_t kHeaderBytes = sizeof(RIPSwapRecordHeader);

void PutU16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

std::uint16_t GetU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

void Store(const RIPSwapRecordHeader& h, std::uint8_t* bytes) {
    PutU16(bytes, h.codec);
    PutU16(bytes + 2, h.kind);
}

RIPSwapRecordHeader Load(const std::uint8_t* bytes) {
    return {GetU16(bytes), GetU16(bytes + 2)};
}

}  // namespace

RIPSwapStore::RIPSwapStore(bool compression, RIPSwapFileFactory files)
    : compression_(compression), files_(std::move(files)) {
    if (compression_) {
        lzw_.reset(new (std::nothrow) RIPLZWWork);
        // The coder's worst case is two bytes a sample; past its end the
        // encoder gives up and the block is stored raw.
        try {
            scratch_.resize(2 * kTileBlockBytes + 16);
        } catch (const std::bad_alloc&) {
            scratch_.clear();
        }
        if (lzw_ == nullptr || scratch_.empty()) compression_ = false;
    }
}

RIPSwapStore::~RIPSwapStore() = default;

bool RIPSwapStore::AddChunk(int pool) {
    if (file_ == nullptr) {
        if (fileFailed_ || !files_) return false;
        file_ = files_();
        if (file_ == nullptr) {
            fileFailed_ = true;
            return false;
        }
    }
    auto& bases = chunkBase_[static_cast<std::size_t>(pool)];
    try {
        bases.push_back(fileEnd_);
    } catch (const std::bad_alloc&) {
        return false;
    }
    fileEnd_ += kChunkBytes;
    ++pools_[static_cast<std::size_t>(pool)].chunkCount;
    return true;
}

bool RIPSwapStore::PlaceBlock(RIPBlockNode* node) {
    RIPPool& p = pools_[node->pool];
    if (p.used + p.blockSize > kChunkBytes) return false;
    node->chunk = p.chunkCount - 1;
    node->offset = p.used;
    p.used += p.blockSize;
    return true;
}

std::uint64_t RIPSwapStore::Position(const RIPBlockNode* node) const {
    return chunkBase_[node->pool][node->chunk] + node->offset;
}

RIPBlockNode* RIPSwapStore::SwapOut(RIPBlockNode* old, std::uint8_t* pixels, std::int32_t rowBytes,
                                    std::int32_t type, std::int32_t* uniform) {
    *uniform = 0;
    std::int32_t codec = kCodecRaw;
    std::int32_t kind = kPredictNone;
    const std::uint8_t* data = pixels;
    std::size_t length = kTileBlockBytes;
    bool differenced = false;
    if (compression_) {
        kind = kPredictCombined;
        codec = RIPPredictorEncode(pixels, rowBytes, type, kTileBlockBytes, scratch_.data(), &kind);
        differenced = codec != kCodecNone && kind != kPredictNone;
        if (codec == kCodecSolid) {
            *uniform = 1;
            return old;
        }
        if (codec == kCodecBitLength || codec == kCodecLZW) {
            const std::ptrdiff_t n = RIPTileCompress(lzw_.get(), scratch_.data(), scratch_.size(), pixels,
                                                     kTileBlockBytes, codec, type);
            if (n > 0) {
                length = static_cast<std::size_t>(n);
                data = scratch_.data();
            } else {
                codec = kCodecRaw;
            }
        }
    }
    int pool = 0;
    for (int p = kPoolCount - 1; p > 0; --p) {
        if (pools_[static_cast<std::size_t>(p)].blockSize > length + kHeaderBytes) {
            pool = p;
            break;
        }
    }
    if (codec == kCodecRaw || codec == kCodecNone) pool = 0;
    if (old != nullptr && static_cast<int>(old->pool) != pool) {
        ReleaseBlock(old);
        old = nullptr;
    }
    RIPBlockNode* record = old != nullptr ? old : TakeBlock(pool);
    if (record != nullptr) {
        if (pool == 0) {
            record->size = kTileBlockBytes;
            data = pixels;
            if (differenced) RIPPredictorDecode(pixels, rowBytes, type, kTileBlockBytes, nullptr, kind);
            differenced = false;
        } else {
            record->size = static_cast<std::uint32_t>(length);
        }
        bool written = true;
        std::uint64_t at = Position(record);
        if (pool != 0) {
            std::uint8_t header[kHeaderBytes];
            Store({static_cast<std::uint16_t>(codec), static_cast<std::uint16_t>(kind)}, header);
            written = file_->WriteAt(at, header, kHeaderBytes);
            at += kHeaderBytes;
        }
        written = written && file_->WriteAt(at, data, record->size);
        if (!written) {
            ReleaseBlock(record);
            record = nullptr;
        }
    }
    if (record == nullptr && differenced)
        RIPPredictorDecode(pixels, rowBytes, type, kTileBlockBytes, nullptr, kind);
    if (record != nullptr) record->flags &= ~kBlockFree;
    return record;
}

std::int32_t RIPSwapStore::SwapIn(const RIPBlockNode* record, std::uint8_t* pixels, std::int32_t rowBytes,
                                  std::int32_t type) {
    if (record == nullptr || file_ == nullptr) return 0;
    const std::uint64_t at = Position(record);
    if (record->pool == 0) return file_->ReadAt(at, pixels, kTileBlockBytes) ? 1 : 0;
    if (scratch_.size() < record->size || lzw_ == nullptr) return 0;
    std::uint8_t header[kHeaderBytes];
    if (!file_->ReadAt(at, header, kHeaderBytes) ||
        !file_->ReadAt(at + kHeaderBytes, scratch_.data(), record->size)) {
        return 0;
    }
    const RIPSwapRecordHeader h = Load(header);
    if (h.kind > kPredictCombined) return 0;
    if (RIPTileDecompress(lzw_.get(), pixels, scratch_.data(), record->size, kTileBlockBytes, type, rowBytes,
                          h.codec) != 1) {
        return 0;
    }
    return RIPPredictorDecode(pixels, rowBytes, type, kTileBlockBytes, nullptr, h.kind);
}

}  // namespace raster

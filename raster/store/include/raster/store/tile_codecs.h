// Lossless codecs for tile blocks on their way to and from the swap file:
// predictors that turn samples into small residuals and choose a codec, the
// bit-length coder (codec 5), LZW (codec 2), and one-colour fills.
//
// Encoders work on blocks this library wrote; decoders also read bytes from
// a file, so every decoder is bounded by its source and destination and
// answers failure instead of reading or writing past either.
#pragma once

#include <cstddef>
#include <cstdint>

#include "colour/color_record.h"

namespace raster {

enum RIPTileCodec : std::int32_t {
    kCodecNone = 0,       // the predictor has nothing for this type: stored raw
    kCodecRaw = 1,        // noisy blocks; every block when compression is off
    kCodecLZW = 2,        // only when a caller names it
    kCodecAbsent = 3,     // no codec; compress and decompress answer -1
    kCodecSolid = 4,      // the block is one colour
    kCodecBitLength = 5,  // smooth blocks; always for bilevel and paletted
};

enum RIPPredictorKind : std::int32_t {
    kPredictNone = 0,
    kPredictHorizontal = 1,
    kPredictVertical = 2,
    kPredictCombined = 3,  // vertical below the first row, horizontal in it
};

// The LZW codec's tables: the encoder's hash of (code, byte) keys and the
// decoder's string tables. One record serves one call at a time.
struct RIPLZWWork {
    static constexpr int kHashSize = 8191;
    std::uint32_t keys[kHashSize];
    std::uint16_t codes[kHashSize];
    std::uint8_t stack[4096];
    std::uint8_t suffix[4096];
    std::uint16_t prefix[4095];
    std::uint8_t staging[4096];
};

// The sum of residual sizes the last RIPPredictorEncode on this thread found
// (0 for a block of one colour); for tests and the benchmark.
std::uint64_t RIPPredictorLastSum();

// Differences the block in place with the kind asked for (combined for the
// swap path) and answers the codec to use: 1, 4 or 5, or 0 for a type it has
// no sample layout for. Types 6 and 10 are coded as they are (kind set to 0).
// The bytes after the last whole row are zeroed by the combined kind.
std::int32_t RIPPredictorEncode(std::uint8_t* block, std::int32_t rowBytes, std::int32_t type,
                                std::size_t size, std::uint8_t* scratch, std::int32_t* kind);
// Undoes RIPPredictorEncode's differencing; 1.
std::int32_t RIPPredictorDecode(std::uint8_t* block, std::int32_t rowBytes, std::int32_t type,
                                std::size_t size, std::uint8_t* scratch, std::int32_t kind);

// Codec 5 over bytes (groups of up to 32) and 16-bit samples (up to 16).
// The encoders write at most capacity bytes and answer the bytes written, or
// 0 when the output would not fit (the caller then stores the block raw).
std::size_t RIPTileCodecEncode8(std::uint8_t* destination, std::size_t capacity, const std::uint8_t* source,
                                std::size_t count);
std::size_t RIPTileCodecEncode16(std::uint8_t* destination, std::size_t capacity, const std::uint16_t* source,
                                 std::size_t count);
// Decode count samples; 1, or 0 when the source ends first.
std::int32_t RIPTileCodecDecode8(std::uint8_t* destination, const std::uint8_t* source,
                                 std::size_t sourceBytes, std::size_t count);
std::int32_t RIPTileCodecDecode16(std::uint16_t* destination, const std::uint8_t* source,
                                  std::size_t sourceBytes, std::size_t count);

// LZW with 9- to 12-bit codes, least significant bit first, clear code 256,
// end code 257. Encode answers the bytes written (0 when they would pass
// capacity); decode answers the bytes written, 0 for a corrupt stream or one
// longer than capacity.
std::size_t RIPLZWEncode(RIPLZWWork* work, std::uint8_t* destination, std::size_t capacity,
                         const std::uint8_t* source, std::size_t sourceBytes);
std::size_t RIPLZWDecode(RIPLZWWork* work, std::uint8_t* destination, std::size_t capacity,
                         const std::uint8_t* source, std::size_t sourceBytes);

// Codec dispatch. Compress answers the bytes written, 0 when they do not fit,
// -1 for a codec other than 2 and 5. Decompress fills exactly destination
// bytes and answers 1, or 0 (-1 for codec 3).
std::ptrdiff_t RIPTileCompress(RIPLZWWork* work, std::uint8_t* destination, std::size_t capacity,
                               const std::uint8_t* source, std::size_t sourceBytes, std::int32_t codec,
                               std::int32_t type);
std::int32_t RIPTileDecompress(RIPLZWWork* work, std::uint8_t* destination, const std::uint8_t* source,
                               std::size_t sourceBytes, std::size_t destinationBytes, std::int32_t type,
                               std::int32_t rowBytes, std::int32_t codec);

// Fills bytes bytes of block with one colour in the type's pixel layout
// (whole rows of rowBytes for the three-sample types); 0, or -1 for a type it
// has no layout for.
std::int32_t RIPTileFillSolid(std::int32_t type, std::uint8_t* block, std::int32_t rowBytes,
                              std::size_t bytes, const colour::ColorRecord& colour);

// The colour a uniform block of the type holds, read from its first pixel
// (palette kind 5); false for a type without one.
bool RIPTileSolidColour(std::int32_t type, const std::uint8_t* firstPixel, colour::ColorRecord* colour);

}  // namespace raster

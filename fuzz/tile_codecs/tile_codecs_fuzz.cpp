// The tile decoders over bytes as a swap record holds them: a first byte
// picks the codec, the pixel type and the predictor kind to undo, the rest is
// the stored stream. Every decoder must stay inside both buffers.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "raster/store/tile_codecs.h"

namespace {

constexpr std::int32_t kCodecs[4] = {raster::kCodecRaw, raster::kCodecLZW, raster::kCodecSolid,
                                     raster::kCodecBitLength};
constexpr std::int32_t kTypes[8] = {1, 3, 5, 6, 10, 11, 12, 14};
constexpr std::int32_t kRowBytes[8] = {432, 512, 256, 96, 256, 432, 624, 360};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    static auto work = std::make_unique<raster::RIPLZWWork>();
    const std::uint8_t pick = data[0];
    const std::int32_t codec = kCodecs[pick & 3];
    const std::int32_t type = kTypes[(pick >> 2) & 7];
    const std::int32_t kind = pick >> 5 & 3;
    // Exactly the stream's bytes, so a read past them is caught.
    const std::vector<std::uint8_t> stream(data + 1, data + size);
    // A small destination as well as a whole block, for the bounds on output.
    for (std::size_t out : {std::size_t{100}, std::size_t{65536}}) {
        std::vector<std::uint8_t> block(out);
        if (raster::RIPTileDecompress(work.get(), block.data(), stream.data(), stream.size(), block.size(),
                                      type, kRowBytes[(pick >> 2) & 7], codec) == 1) {
            raster::RIPPredictorDecode(block.data(), kRowBytes[(pick >> 2) & 7], type, block.size(), nullptr,
                                       kind);
        }
    }
    return 0;
}

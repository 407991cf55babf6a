// The cost of the tile store. Fill, copy (shifted by one pixel, so no tile is
// shared) and a half-size nearest stretch of a 4096 × 4096 RGB image: Arg 0
// keeps every image contiguous (no tile manager), Arg 1 tiles them under a
// tile manager whose memory blocks hold 1/8 of one image, so tiles are
// evicted, compressed and swapped to the temporary file all the time. Each
// of these rows reports the peak resident memory of its own run.
// Then the bit-length coder (with its predictor) beside zlib level 1 on the
// 64 KB blocks of a photograph-like tile: ratio and speed each way.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "blit/stretch_blit.h"
#include "raster/blit_entry.h"
#include "raster/fill_rect.h"
#include "raster/image.h"
#include "raster/storage.h"
#include "raster/store/tile_manager.h"

namespace {

using namespace raster;

constexpr int kSide = 4096;

// Each row reports its own peak: the kernel's high-water mark of resident
// memory is reset when the row starts (Linux: "5" into /proc/self/clear_refs)
// and read from /proc/self/status at its end. Where the reset is refused the
// row reports the process's running peak, and says so once.
bool ResetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.close();
    if (clear.fail()) {
        static const bool told = [] {
            std::fprintf(stderr, "raster_store_bench: peak_MB is the process's running peak (no peak reset)\n");
            return true;
        }();
        (void)told;
        return false;
    }
    return true;
}

double PeakMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;  // kB
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Installs a tile manager of 1/8 of one image's bytes for Arg 1.
class StoreScope {
  public:
    explicit StoreScope(bool tiled) {
        ResetPeak();
        blit::RIPInstallBlitPipeline();
        if (!tiled) return;
        RIPTileManagerConfig config;
        config.budget = static_cast<std::uint64_t>(kSide) * kSide * 3 / 8;
        manager_ = std::make_unique<RIPTileManager>(config);
        previous_ = RIPInstallTileStore(manager_.get());
    }
    ~StoreScope() {
        if (manager_ != nullptr) RIPInstallTileStore(previous_);
    }
    void Report(benchmark::State& state) const {
        state.counters["peak_MB"] = PeakMegabytes();
        if (manager_ != nullptr) {
            state.counters["swap_MB"] = static_cast<double>(manager_->Swap().FileBytes()) / (1 << 20);
        }
    }

  private:
    std::unique_ptr<RIPTileManager> manager_;
    RIPTileStore* previous_ = nullptr;
};

// A smooth picture with a little noise, written through the slots so that
// tiled and contiguous images get the same pixels.
RIPImage* Picture(int w, int h) {
    RIPImage* image = RIPCreateImageEx(kTypeRGB24, w, h, 0, 0, kAllowTiling, nullptr, 0);
    std::mt19937 rng(1);
    for (std::int32_t r = 0; r < image->tilesDown; ++r) {
        for (std::int32_t c = 0; c < image->tilesAcross; ++c) {
            RIPTileSlot* slot = &image->tileTable[r][c];
            RIPTileLock(slot);
            for (std::int32_t y = slot->bottom; y <= slot->top; ++y) {
                std::uint8_t* row = RIPTilePixelAddress(image, slot, 0, y - slot->bottom);
                for (std::int32_t x = slot->left; x <= slot->right; ++x) {
                    const std::uint32_t noise = rng() & 3;
                    *row++ = static_cast<std::uint8_t>(x / 16 + noise);
                    *row++ = static_cast<std::uint8_t>(y / 16 + noise);
                    *row++ = static_cast<std::uint8_t>((x + y) / 32);
                }
            }
            RIPTileUnlock(slot);
        }
    }
    return image;
}

void Fill(benchmark::State& state) {
    StoreScope scope(state.range(0) != 0);
    RIPImage* image = Picture(kSide, kSide);
    colour::ColorRecord c = colour::ColorRecord::RGB(30, 20, 10);
    for (auto _ : state) RIPFillRect(nullptr, image, 0, 0, kSide, kSide, nullptr, 0, nullptr, 0, &c, 0);
    state.SetBytesProcessed(state.iterations() * image->imageSize);
    scope.Report(state);
    RIPDestroyImage(image);
}

void Copy(benchmark::State& state) {
    StoreScope scope(state.range(0) != 0);
    RIPImage* src = Picture(kSide, kSide);
    RIPImage* dst = Picture(kSide, kSide);
    for (auto _ : state) {
        RIPStretchBlitInContext(nullptr, dst, 1, 1, kSide - 1, kSide - 1, nullptr, src, 0, 0, kSide - 1,
                                kSide - 1, nullptr, 0);
    }
    state.SetBytesProcessed(state.iterations() * src->imageSize);
    scope.Report(state);
    RIPDestroyImage(src);
    RIPDestroyImage(dst);
}

void Stretch(benchmark::State& state) {
    StoreScope scope(state.range(0) != 0);
    RIPImage* src = Picture(kSide, kSide);
    RIPImage* dst = Picture(kSide / 2, kSide / 2);
    for (auto _ : state) {
        RIPStretchBlitInContext(nullptr, dst, 0, 0, kSide / 2, kSide / 2, nullptr, src, 0, 0, kSide, kSide,
                                nullptr, 0);
    }
    state.SetBytesProcessed(state.iterations() * src->imageSize);
    scope.Report(state);
    RIPDestroyImage(src);
    RIPDestroyImage(dst);
}

BENCHMARK(Fill)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(Copy)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(Stretch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One tile block (144 × 151 RGB in 432-byte rows) of the picture above.
std::vector<std::uint8_t> TileBlock() {
    std::vector<std::uint8_t> block(kTileBlockBytes, 0);
    std::mt19937 rng(1);
    for (int y = 0; y < 151; ++y) {
        for (int x = 0; x < 144; ++x) {
            const std::uint32_t noise = rng() & 3;
            std::uint8_t* p = &block[static_cast<std::size_t>(y) * 432 + static_cast<std::size_t>(x) * 3];
            p[0] = static_cast<std::uint8_t>(x / 16 + noise);
            p[1] = static_cast<std::uint8_t>(y / 16 + noise);
            p[2] = static_cast<std::uint8_t>((x + y) / 32);
        }
    }
    return block;
}

void BitLengthEncode(benchmark::State& state) {
    const std::vector<std::uint8_t> original = TileBlock();
    std::vector<std::uint8_t> block, out(2 * kTileBlockBytes + 16);
    std::size_t n = 0;
    for (auto _ : state) {
        block = original;
        std::int32_t kind = kPredictCombined;
        RIPPredictorEncode(block.data(), 432, 1, kTileBlockBytes, nullptr, &kind);
        n = RIPTileCodecEncode8(out.data(), out.size(), block.data(), block.size());
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * kTileBlockBytes);
    state.counters["ratio"] = static_cast<double>(kTileBlockBytes) / static_cast<double>(n);
}

void BitLengthDecode(benchmark::State& state) {
    std::vector<std::uint8_t> block = TileBlock(), out(2 * kTileBlockBytes + 16);
    std::int32_t kind = kPredictCombined;
    RIPPredictorEncode(block.data(), 432, 1, kTileBlockBytes, nullptr, &kind);
    const std::size_t n = RIPTileCodecEncode8(out.data(), out.size(), block.data(), block.size());
    for (auto _ : state) {
        RIPTileCodecDecode8(block.data(), out.data(), n, kTileBlockBytes);
        RIPPredictorDecode(block.data(), 432, 1, kTileBlockBytes, nullptr, kind);
        benchmark::DoNotOptimize(block.data());
    }
    state.SetBytesProcessed(state.iterations() * kTileBlockBytes);
}

void ZlibLevel1Encode(benchmark::State& state) {
    const std::vector<std::uint8_t> block = TileBlock();
    std::vector<std::uint8_t> out(compressBound(kTileBlockBytes));
    uLongf n = 0;
    for (auto _ : state) {
        n = static_cast<uLongf>(out.size());
        compress2(out.data(), &n, block.data(), kTileBlockBytes, 1);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * kTileBlockBytes);
    state.counters["ratio"] = static_cast<double>(kTileBlockBytes) / static_cast<double>(n);
}

void ZlibLevel1Decode(benchmark::State& state) {
    std::vector<std::uint8_t> block = TileBlock();
    std::vector<std::uint8_t> out(compressBound(kTileBlockBytes));
    uLongf n = static_cast<uLongf>(out.size());
    compress2(out.data(), &n, block.data(), kTileBlockBytes, 1);
    for (auto _ : state) {
        uLongf m = kTileBlockBytes;
        uncompress(block.data(), &m, out.data(), n);
        benchmark::DoNotOptimize(block.data());
    }
    state.SetBytesProcessed(state.iterations() * kTileBlockBytes);
}

BENCHMARK(BitLengthEncode);
BENCHMARK(BitLengthDecode);
BENCHMARK(ZlibLevel1Encode);
BENCHMARK(ZlibLevel1Decode);

}  // namespace

BENCHMARK_MAIN();

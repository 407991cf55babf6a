// Pixels per second of the 24-bit RGB kernels that fills and blits spend
// their time in, on the plain path and on each vector path the processor
// has, beside pixman on r8g8b8 images and beside memcpy for Copy.
//
// pixman's r8g8b8 has no alpha, so OVER through an a8 mask is the mode-0
// blend of column 1 (the source moved toward by the mask byte); pixman has
// no two-mask form, so column 3 stands beside the same row. Rows are named
// Table/Mode/Column/path/pixels, and pixman's pixman/OPERATION/pixels.
#include <cstring>
#include <string>
#include <vector>

#include "kernel_bench_support.h"
#include "kernels/kernel_tables.h"

namespace {

using namespace raster::kernels;
using kernel_bench::Case;
using kernel_bench::Finish;

constexpr int kSizes[] = {64, 1920, 65536};

// Pixel rows of three bytes, masks of one byte a pixel.
struct Rows {
    std::vector<std::uint8_t> dst, src, m1, m2;
    explicit Rows(int n) : dst(3 * n + 64), src(3 * n + 64), m1(n + 64), m2(n + 64) {
        for (std::size_t i = 0; i < dst.size(); ++i) {
            dst[i] = static_cast<std::uint8_t>(i * 7);
            src[i] = static_cast<std::uint8_t>(i * 13 + 5);
        }
        for (std::size_t i = 0; i < m1.size(); ++i) {
            m1[i] = static_cast<std::uint8_t>(i * 3);
            m2[i] = static_cast<std::uint8_t>(255 - i);
        }
    }
};

void FillRow(benchmark::State& state, RIPFillKernel kernel, std::uint32_t features, int n) {
    RIPSetProcessorFeatures(features);
    Rows rows(n);
    RIPKernelParams::Fill params;
    params.color = colour::ColorRecord::RGB(200, 120, 40);
    const RIPKernelCoverage cov{rows.m1.data(), rows.m2.data(), 180};
    for (auto _ : state) {
        kernel(&params, n, rows.dst.data(), &cov);
        benchmark::DoNotOptimize(rows.dst.data());
        benchmark::ClobberMemory();
    }
    Finish(state, n);
}

void BlitRow(benchmark::State& state, RIPBlitKernel kernel, std::uint32_t features, int n) {
    RIPSetProcessorFeatures(features);
    Rows rows(n);
    RIPKernelParams::Blit params;
    params.srcStep = params.dstStep = 3;  // as the blit driver sets them for the channel kernels
    params.channelsPerPixel = 3;
    const RIPKernelCoverage cov{rows.m1.data(), rows.m2.data(), 180};
    for (auto _ : state) {
        kernel(&params, n, rows.dst.data(), rows.src.data(), &cov);
        benchmark::DoNotOptimize(rows.dst.data());
        benchmark::ClobberMemory();
    }
    Finish(state, n);
}

// pixman on n pixels of r8g8b8: a solid or r8g8b8 source, an optional a8 mask.
void Pixman(benchmark::State& state, pixman_op_t op, bool solidSource, bool mask, int n) {
    const pixman_color_t colour = {200 * 257, 120 * 257, 40 * 257, 0xFFFF};
    kernel_bench::Pixman(state, op, PIXMAN_r8g8b8, 3, solidSource ? &colour : nullptr, mask, n);
}

void Register() {
    const Case fills[] = {{"fill24/Set/opaque", kModeSet, kCoverOpaque},
                          {"fill24/Set/mask", kModeSet, kCoverMask},
                          {"fill24/Set/maskmask", kModeSet, kCoverMaskMask},
                          {"fill24/Multiply/opaque", kModeMultiply, kCoverOpaque},
                          {"fill24/Screen/opaque", kModeScreen, kCoverOpaque}};
    const Case blits[] = {{"blit24/Copy/opaque", kModeSet, kCoverOpaque},
                          {"blit24/Set/mask", kModeSet, kCoverMask},
                          {"blit24/Set/maskmask", kModeSet, kCoverMaskMask},
                          {"blit24/Multiply/opaque", kModeMultiply, kCoverOpaque},
                          {"blit24/Screen/opaque", kModeScreen, kCoverOpaque}};
    for (int n : kSizes) {
        std::string size = "/";
        size += std::to_string(n);
        kernel_bench::RegisterCases(fills, RIPFillKernels24, FillRow, n);
        kernel_bench::RegisterCases(blits, RIPBlitKernels24, BlitRow, n);
        benchmark::RegisterBenchmark(("memcpy" + size).c_str(), [n](benchmark::State& state) {
            Rows rows(n);
            for (auto _ : state) {
                std::memcpy(rows.dst.data(), rows.src.data(), 3 * static_cast<std::size_t>(n));
                benchmark::DoNotOptimize(rows.dst.data());
                benchmark::ClobberMemory();
            }
            Finish(state, n);
        });
        benchmark::RegisterBenchmark(("pixman/SRC-solid" + size).c_str(), Pixman, PIXMAN_OP_SRC, true, false, n);
        benchmark::RegisterBenchmark(("pixman/SRC" + size).c_str(), Pixman, PIXMAN_OP_SRC, false, false, n);
        benchmark::RegisterBenchmark(("pixman/OVER-solid-a8mask" + size).c_str(), Pixman, PIXMAN_OP_OVER, true,
                                     true, n);
        benchmark::RegisterBenchmark(("pixman/OVER-a8mask" + size).c_str(), Pixman, PIXMAN_OP_OVER, false, true, n);
        benchmark::RegisterBenchmark(("pixman/MULTIPLY-solid" + size).c_str(), Pixman, PIXMAN_OP_MULTIPLY, true,
                                     false, n);
        benchmark::RegisterBenchmark(("pixman/MULTIPLY" + size).c_str(), Pixman, PIXMAN_OP_MULTIPLY, false, false,
                                     n);
        benchmark::RegisterBenchmark(("pixman/SCREEN-solid" + size).c_str(), Pixman, PIXMAN_OP_SCREEN, true, false,
                                     n);
        benchmark::RegisterBenchmark(("pixman/SCREEN" + size).c_str(), Pixman, PIXMAN_OP_SCREEN, false, false, n);
    }
}

}  // namespace

int main(int argc, char** argv) {
    Register();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

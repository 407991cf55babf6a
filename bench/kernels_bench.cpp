// Pixels per second of the 8-bit kernels that fills and blits spend their
// time in, on the plain path and on each vector path the processor has,
// beside pixman on the nearest operation (a8 images) and beside
// memset/memcpy for Set and Copy.
//
// Rows are named Table/Mode/Column/path/pixels, and pixman's
// pixman/OPERATION/pixels.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstring>
#include <string>
#include <vector>

#include "kernels/kernel_state.h"
#include "kernels/kernel_tables.h"

namespace {

using namespace raster::kernels;

constexpr int kSizes[] = {64, 1920, 65536};

struct Rows {
    std::vector<std::uint8_t> dst, src, m1, m2;
    explicit Rows(int n) : dst(n + 64), src(n + 64), m1(n + 64), m2(n + 64) {
        for (int i = 0; i < n + 64; ++i) {
            dst[i] = static_cast<std::uint8_t>(i * 7);
            src[i] = static_cast<std::uint8_t>(i * 13 + 5);
            m1[i] = static_cast<std::uint8_t>(i * 3);
            m2[i] = static_cast<std::uint8_t>(255 - i);
        }
    }
};

struct Path {
    std::string name;
    std::uint32_t features;
};

std::vector<Path> Paths() {
    const std::uint32_t have = RIPDetectProcessorFeatures();
    std::vector<Path> paths = {{"plain", 0}};
    if (have & kRIPFeatureVector) paths.push_back({"sse2", kRIPFeatureVector});
    if (have & kRIPFeatureWide) paths.push_back({"avx2", kRIPFeatureVector | kRIPFeatureWide});
    return paths;
}

void Finish(benchmark::State& state, int n) {
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * n);
}

void FillRow(benchmark::State& state, RIPFillKernel kernel, std::uint32_t features, int n) {
    RIPSetProcessorFeatures(features);
    Rows rows(n);
    RIPKernelParams::Fill params;
    params.color.At(8) = 200;
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
    const RIPKernelCoverage cov{rows.m1.data(), rows.m2.data(), 180};
    for (auto _ : state) {
        kernel(&params, n, rows.dst.data(), rows.src.data(), &cov);
        benchmark::DoNotOptimize(rows.dst.data());
        benchmark::ClobberMemory();
    }
    Finish(state, n);
}

// pixman's images are at most 32767 pixels wide, so n pixels are composited
// as rows of at most 4096.
struct PixmanShape {
    int width, height, stride;
    explicit PixmanShape(int n) : width(n < 4096 ? n : 4096), height(n / width), stride((width + 3) / 4 * 4) {}
};

// pixman on n pixels of a8: a solid or a8 source, an optional a8 mask.
void Pixman(benchmark::State& state, pixman_op_t op, bool solidSource, bool mask, int n) {
    const PixmanShape shape(n);
    Rows rows(shape.stride * shape.height);
    std::vector<std::uint32_t> d(shape.stride * shape.height / 4), s(d.size()), m(d.size());
    std::memcpy(d.data(), rows.dst.data(), d.size() * 4);
    std::memcpy(s.data(), rows.src.data(), s.size() * 4);
    std::memcpy(m.data(), rows.m1.data(), m.size() * 4);
    pixman_image_t* dst = pixman_image_create_bits(PIXMAN_a8, shape.width, shape.height, d.data(), shape.stride);
    pixman_image_t* src;
    if (solidSource) {
        const pixman_color_t colour = {0, 0, 0, 200 * 257};
        src = pixman_image_create_solid_fill(&colour);
    } else {
        src = pixman_image_create_bits(PIXMAN_a8, shape.width, shape.height, s.data(), shape.stride);
    }
    pixman_image_t* msk =
        mask ? pixman_image_create_bits(PIXMAN_a8, shape.width, shape.height, m.data(), shape.stride) : nullptr;
    for (auto _ : state) {
        pixman_image_composite32(op, src, msk, dst, 0, 0, 0, 0, 0, 0, shape.width, shape.height);
        benchmark::DoNotOptimize(d.data());
        benchmark::ClobberMemory();
    }
    pixman_image_unref(dst);
    pixman_image_unref(src);
    if (msk) pixman_image_unref(msk);
    Finish(state, n);
}

void PixmanFill(benchmark::State& state, int n) {
    const PixmanShape shape(n);
    std::vector<std::uint32_t> d(shape.stride * shape.height / 4);
    for (auto _ : state) {
        pixman_fill(d.data(), shape.stride / 4, 8, 0, 0, shape.width, shape.height, 200);
        benchmark::DoNotOptimize(d.data());
        benchmark::ClobberMemory();
    }
    Finish(state, n);
}

void Register() {
    struct Case {
        const char* name;
        RIPMergeMode mode;
        RIPCoverageVariant col;
    };
    const Case fills[] = {{"fill8/Set/opaque", kModeSet, kCoverOpaque},
                              {"fill8/Set/mask", kModeSet, kCoverMask},
                              {"fill8/Set/maskmask", kModeSet, kCoverMaskMask}};
    const Case blits[] = {{"blit8/Copy/opaque", kModeSet, kCoverOpaque},
                              {"blit8/Set/mask", kModeSet, kCoverMask},
                              {"blit8/Set/maskmask", kModeSet, kCoverMaskMask},
                              {"blit8/Add/opaque", kModeAdd, kCoverOpaque},
                              {"blit8/Multiply/opaque", kModeMultiply, kCoverOpaque},
                              {"blit8/Screen/opaque", kModeScreen, kCoverOpaque}};
    for (int n : kSizes) {
        std::string size = "/";
        size += std::to_string(n);
        for (const Path& p : Paths()) {
            for (const Case& f : fills) {
                benchmark::RegisterBenchmark((std::string(f.name) + "/" + p.name + size).c_str(), FillRow,
                                             RIPFillKernels8[f.mode][f.col], p.features, n);
            }
            for (const Case& b : blits) {
                benchmark::RegisterBenchmark((std::string(b.name) + "/" + p.name + size).c_str(), BlitRow,
                                             RIPBlitKernels8[b.mode][b.col], p.features, n);
            }
        }
        benchmark::RegisterBenchmark(("memset" + size).c_str(), [n](benchmark::State& state) {
            std::vector<std::uint8_t> d(n);
            for (auto _ : state) {
                std::memset(d.data(), 200, n);
                benchmark::DoNotOptimize(d.data());
                benchmark::ClobberMemory();
            }
            Finish(state, n);
        });
        benchmark::RegisterBenchmark(("memcpy" + size).c_str(), [n](benchmark::State& state) {
            Rows rows(n);
            for (auto _ : state) {
                std::memcpy(rows.dst.data(), rows.src.data(), n);
                benchmark::DoNotOptimize(rows.dst.data());
                benchmark::ClobberMemory();
            }
            Finish(state, n);
        });
        benchmark::RegisterBenchmark(("pixman/fill" + size).c_str(), PixmanFill, n);
        benchmark::RegisterBenchmark(("pixman/SRC-solid" + size).c_str(), Pixman, PIXMAN_OP_SRC, true, false, n);
        benchmark::RegisterBenchmark(("pixman/SRC" + size).c_str(), Pixman, PIXMAN_OP_SRC, false, false, n);
        benchmark::RegisterBenchmark(("pixman/OVER-solid-a8mask" + size).c_str(), Pixman, PIXMAN_OP_OVER, true,
                                     true, n);
        benchmark::RegisterBenchmark(("pixman/OVER-a8mask" + size).c_str(), Pixman, PIXMAN_OP_OVER, false, true, n);
        benchmark::RegisterBenchmark(("pixman/ADD" + size).c_str(), Pixman, PIXMAN_OP_ADD, false, false, n);
        benchmark::RegisterBenchmark(("pixman/MULTIPLY" + size).c_str(), Pixman, PIXMAN_OP_MULTIPLY, false, false,
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

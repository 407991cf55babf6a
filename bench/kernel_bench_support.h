// What the kernel benchmarks share: rows to run on, the kernel paths this
// processor has, one fill or blit row timed as pixels per second, and the
// shape in which pixman composites a long run.
#pragma once

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "colour/color_record.h"
#include "kernels/kernel_state.h"
#include "kernels/kernel_tables.h"

namespace kernel_bench {

using namespace raster::kernels;

inline constexpr int kSizes[] = {64, 1920, 65536};

// Rows of n pixels of `size` bytes, with one byte of each mask per pixel.
struct Rows {
    std::vector<std::uint8_t> dst, src, m1, m2;
    explicit Rows(int n, int size = 1) : dst(n * size + 64), src(n * size + 64), m1(n + 64), m2(n + 64) {
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

struct Path {
    std::string name;
    std::uint32_t features;
};

inline std::vector<Path> Paths() {
    const std::uint32_t have = RIPDetectProcessorFeatures();
    std::vector<Path> paths = {{"plain", 0}};
    if (have & kRIPFeatureVector) paths.push_back({"sse2", kRIPFeatureVector});
    if (have & kRIPFeatureWide) paths.push_back({"avx2", kRIPFeatureVector | kRIPFeatureWide});
    return paths;
}

inline void Finish(benchmark::State& state, int n) {
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * n);
}

// One fill kernel on n pixels of `size` bytes, both masks and opacity 180.
inline void FillRow(benchmark::State& state, RIPFillKernel kernel, std::uint32_t features, int n, int size,
                    colour::ColorRecord colour) {
    RIPSetProcessorFeatures(features);
    Rows rows(n, size);
    RIPKernelParams::Fill params;
    params.color = colour;
    const RIPKernelCoverage cov{rows.m1.data(), rows.m2.data(), 180};
    for (auto _ : state) {
        kernel(&params, n, rows.dst.data(), &cov);
        benchmark::DoNotOptimize(rows.dst.data());
        benchmark::ClobberMemory();
    }
    Finish(state, n);
}

inline void BlitRow(benchmark::State& state, RIPBlitKernel kernel, std::uint32_t features, int n, int size) {
    RIPSetProcessorFeatures(features);
    Rows rows(n, size);
    RIPKernelParams::Blit params;
    const RIPKernelCoverage cov{rows.m1.data(), rows.m2.data(), 180};
    for (auto _ : state) {
        kernel(&params, n, rows.dst.data(), rows.src.data(), &cov);
        benchmark::DoNotOptimize(rows.dst.data());
        benchmark::ClobberMemory();
    }
    Finish(state, n);
}

// A kernel of a table, by its merge mode and column.
struct KernelCase {
    const char* name;  // Table/Mode/Column
    RIPMergeMode mode;
    RIPCoverageVariant col;
};

// Each case on every path, as rows named Table/Mode/Column/path/pixels.
inline void RegisterFillRows(std::initializer_list<KernelCase> cases, const RIPFillKernelTable& table, int n,
                             int size, const colour::ColorRecord& colour) {
    for (const Path& p : Paths()) {
        for (const KernelCase& c : cases) {
            const std::string name = std::string(c.name) + "/" + p.name + "/" + std::to_string(n);
            benchmark::RegisterBenchmark(name.c_str(), FillRow, table[c.mode][c.col], p.features, n, size, colour);
        }
    }
}
inline void RegisterBlitRows(std::initializer_list<KernelCase> cases, const RIPBlitKernelTable& table, int n,
                             int size) {
    for (const Path& p : Paths()) {
        for (const KernelCase& c : cases) {
            const std::string name = std::string(c.name) + "/" + p.name + "/" + std::to_string(n);
            benchmark::RegisterBenchmark(name.c_str(), BlitRow, table[c.mode][c.col], p.features, n, size);
        }
    }
}

// pixman's images are at most 32767 pixels wide, so n pixels are composited
// as rows of at most 4096.
struct PixmanShape {
    int width, height;
    explicit PixmanShape(int n) : width(n < 4096 ? n : 4096), height(n / width) {}
};

// Times pixman compositing src (through msk, which may be null) onto dst over
// the shape, then releases the images.
inline void TimeComposite(benchmark::State& state, pixman_op_t op, pixman_image_t* src, pixman_image_t* msk,
                          pixman_image_t* dst, const PixmanShape& shape, int n) {
    for (auto _ : state) {
        pixman_image_composite32(op, src, msk, dst, 0, 0, 0, 0, 0, 0, shape.width, shape.height);
        benchmark::DoNotOptimize(pixman_image_get_data(dst));
        benchmark::ClobberMemory();
    }
    pixman_image_unref(dst);
    pixman_image_unref(src);
    if (msk) pixman_image_unref(msk);
    Finish(state, n);
}

}  // namespace kernel_bench

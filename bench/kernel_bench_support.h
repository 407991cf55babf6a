// What the kernel benchmarks share: the paths to measure, the pixel count of
// a row, and pixman run on the same pixels as the peer.
#pragma once

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstdint>
#include <string>
#include <vector>

#include "kernels/kernel_state.h"
#include "kernels/kernel_tables.h"

namespace kernel_bench {

struct Path {
    std::string name;
    std::uint32_t features;
};

// The plain path and each vector path this processor has.
inline std::vector<Path> Paths() {
    using namespace raster::kernels;
    const std::uint32_t have = RIPDetectProcessorFeatures();
    std::vector<Path> paths = {{"plain", 0}};
    if (have & kRIPFeatureVector) paths.push_back({"sse2", kRIPFeatureVector});
    if (have & kRIPFeatureWide) paths.push_back({"avx2", kRIPFeatureVector | kRIPFeatureWide});
    return paths;
}

inline void Finish(benchmark::State& state, int n) {
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * n);
}

// One kernel row to measure: named Table/Mode/Column, run from a table slot.
struct Case {
    const char* name;
    raster::kernels::RIPMergeMode mode;
    raster::kernels::RIPCoverageVariant col;
};

// Registers Name/path/n for every case on every path; run(state, kernel, features, n).
template <class Table, class Run, std::size_t N>
void RegisterCases(const Case (&cases)[N], const Table& table, Run run, int n) {
    std::string size = "/";
    size += std::to_string(n);
    for (const Path& p : Paths()) {
        for (const Case& c : cases) {
            benchmark::RegisterBenchmark((std::string(c.name) + "/" + p.name + size).c_str(), run,
                                         table[c.mode][c.col], p.features, n);
        }
    }
}

// pixman's images are at most 32767 pixels wide, so n pixels are composited
// as rows of at most 4096, each padded to whole 32-bit words.
struct PixmanShape {
    int width, height, stride;
    PixmanShape(int n, int bytesPerPixel)
        : width(n < 4096 ? n : 4096), height(n / width), stride((bytesPerPixel * width + 3) / 4 * 4) {}
};

// pixman on n pixels of `format`: a solid colour (when given) or an image of
// the same format as the source, and an optional a8 mask.
inline void Pixman(benchmark::State& state, pixman_op_t op, pixman_format_code_t format, int bytesPerPixel,
                   const pixman_color_t* solid, bool mask, int n) {
    const PixmanShape shape(n, bytesPerPixel);
    const PixmanShape maskShape(n, 1);
    std::vector<std::uint32_t> d(shape.stride * shape.height / 4), s(d.size()), m(maskShape.stride * shape.height / 4);
    for (std::size_t i = 0; i < d.size(); ++i) {
        d[i] = static_cast<std::uint32_t>(i * 0x07070707u);
        s[i] = static_cast<std::uint32_t>(i * 0x0D0D0D0Du + 0x05050505u);
    }
    for (std::size_t i = 0; i < m.size(); ++i) {
        m[i] = static_cast<std::uint32_t>(i * 0x03030303u);
    }
    pixman_image_t* dst = pixman_image_create_bits(format, shape.width, shape.height, d.data(), shape.stride);
    pixman_image_t* src = solid != nullptr
                              ? pixman_image_create_solid_fill(solid)
                              : pixman_image_create_bits(format, shape.width, shape.height, s.data(), shape.stride);
    pixman_image_t* msk =
        mask ? pixman_image_create_bits(PIXMAN_a8, shape.width, shape.height, m.data(), maskShape.stride) : nullptr;
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

}  // namespace kernel_bench

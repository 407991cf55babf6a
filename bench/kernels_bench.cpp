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

#include "kernel_bench_support.h"

namespace {

using namespace kernel_bench;

// The fill colour of the 8-bit rows.
colour::ColorRecord Grey200() {
    colour::ColorRecord c;
    c.At(8) = 200;
    return c;
}

// a8 rows are padded to whole 32-bit words.
int A8Stride(const PixmanShape& shape) { return (shape.width + 3) / 4 * 4; }

// pixman on n pixels of a8: a solid or a8 source, an optional a8 mask.
void Pixman(benchmark::State& state, pixman_op_t op, bool solidSource, bool mask, int n) {
    const PixmanShape shape(n);
    Rows rows(A8Stride(shape) * shape.height);
    std::vector<std::uint32_t> d(A8Stride(shape) * shape.height / 4), s(d.size()), m(d.size());
    std::memcpy(d.data(), rows.dst.data(), d.size() * 4);
    std::memcpy(s.data(), rows.src.data(), s.size() * 4);
    std::memcpy(m.data(), rows.m1.data(), m.size() * 4);
    pixman_image_t* dst = pixman_image_create_bits(PIXMAN_a8, shape.width, shape.height, d.data(), A8Stride(shape));
    pixman_image_t* src;
    if (solidSource) {
        const pixman_color_t colour = {0, 0, 0, 200 * 257};
        src = pixman_image_create_solid_fill(&colour);
    } else {
        src = pixman_image_create_bits(PIXMAN_a8, shape.width, shape.height, s.data(), A8Stride(shape));
    }
    pixman_image_t* msk =
        mask ? pixman_image_create_bits(PIXMAN_a8, shape.width, shape.height, m.data(), A8Stride(shape)) : nullptr;
    TimeComposite(state, op, src, msk, dst, shape, n);
}

void PixmanFill(benchmark::State& state, int n) {
    const PixmanShape shape(n);
    std::vector<std::uint32_t> d(A8Stride(shape) * shape.height / 4);
    for (auto _ : state) {
        pixman_fill(d.data(), A8Stride(shape) / 4, 8, 0, 0, shape.width, shape.height, 200);
        benchmark::DoNotOptimize(d.data());
        benchmark::ClobberMemory();
    }
    Finish(state, n);
}

void Register() {
    for (int n : kSizes) {
        std::string size = "/";
        size += std::to_string(n);
        RegisterFillRows({{"fill8/Set/opaque", kModeSet, kCoverOpaque},
                          {"fill8/Set/mask", kModeSet, kCoverMask},
                          {"fill8/Set/maskmask", kModeSet, kCoverMaskMask}},
                         RIPFillKernels8, n, 1, Grey200());
        RegisterBlitRows({{"blit8/Copy/opaque", kModeSet, kCoverOpaque},
                          {"blit8/Set/mask", kModeSet, kCoverMask},
                          {"blit8/Set/maskmask", kModeSet, kCoverMaskMask},
                          {"blit8/Add/opaque", kModeAdd, kCoverOpaque},
                          {"blit8/Multiply/opaque", kModeMultiply, kCoverOpaque},
                          {"blit8/Screen/opaque", kModeScreen, kCoverOpaque}},
                         RIPBlitKernels8, n, 1);
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

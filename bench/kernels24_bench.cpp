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

namespace {

using namespace kernel_bench;

// The blit driver hands the rows borrowed from the channel kernels their
// byte steps; the benchmark does the same.
void BlitRow24(benchmark::State& state, RIPBlitKernel kernel, std::uint32_t features, int n) {
    RIPSetProcessorFeatures(features);
    Rows rows(n, 3);
    RIPKernelParams::Blit params;
    params.srcStep = params.dstStep = 3;
    params.channelsPerPixel = 3;
    const RIPKernelCoverage cov{rows.m1.data(), rows.m2.data(), 180};
    for (auto _ : state) {
        kernel(&params, n, rows.dst.data(), rows.src.data(), &cov);
        benchmark::DoNotOptimize(rows.dst.data());
        benchmark::ClobberMemory();
    }
    Finish(state, n);
}

// r8g8b8 rows are padded to whole 32-bit words.
int Rgb24Stride(const PixmanShape& shape) { return (shape.width * 3 + 3) / 4 * 4; }
int A8Stride(const PixmanShape& shape) { return (shape.width + 3) / 4 * 4; }

// pixman on n pixels of r8g8b8: a solid or r8g8b8 source, an optional a8 mask.
void Pixman(benchmark::State& state, pixman_op_t op, bool solidSource, bool mask, int n) {
    const PixmanShape shape(n);
    std::vector<std::uint32_t> d(Rgb24Stride(shape) * shape.height / 4 + 1), s(d.size()),
        m(A8Stride(shape) * shape.height / 4 + 1);
    Rows rows(static_cast<int>(d.size() * 4));
    std::memcpy(d.data(), rows.dst.data(), d.size() * 4);
    std::memcpy(s.data(), rows.src.data(), s.size() * 4);
    std::memcpy(m.data(), rows.m1.data(), m.size() * 4);
    pixman_image_t* dst =
        pixman_image_create_bits(PIXMAN_r8g8b8, shape.width, shape.height, d.data(), Rgb24Stride(shape));
    pixman_image_t* src;
    if (solidSource) {
        const pixman_color_t colour = {200 * 257, 120 * 257, 40 * 257, 0xFFFF};
        src = pixman_image_create_solid_fill(&colour);
    } else {
        src = pixman_image_create_bits(PIXMAN_r8g8b8, shape.width, shape.height, s.data(), Rgb24Stride(shape));
    }
    pixman_image_t* msk =
        mask ? pixman_image_create_bits(PIXMAN_a8, shape.width, shape.height, m.data(), A8Stride(shape)) : nullptr;
    TimeComposite(state, op, src, msk, dst, shape, n);
}

void Register() {
    const KernelCase blits[] = {{"blit24/Copy/opaque", kModeSet, kCoverOpaque},
                                {"blit24/Set/mask", kModeSet, kCoverMask},
                                {"blit24/Set/maskmask", kModeSet, kCoverMaskMask},
                                {"blit24/Multiply/opaque", kModeMultiply, kCoverOpaque},
                                {"blit24/Screen/opaque", kModeScreen, kCoverOpaque}};
    for (int n : kSizes) {
        const std::string size = "/" + std::to_string(n);
        RegisterFillRows({{"fill24/Set/opaque", kModeSet, kCoverOpaque},
                          {"fill24/Set/mask", kModeSet, kCoverMask},
                          {"fill24/Set/maskmask", kModeSet, kCoverMaskMask},
                          {"fill24/Multiply/opaque", kModeMultiply, kCoverOpaque},
                          {"fill24/Screen/opaque", kModeScreen, kCoverOpaque}},
                         RIPFillKernels24, n, 3, colour::ColorRecord::RGB(200, 120, 40));
        for (const Path& p : Paths()) {
            for (const KernelCase& c : blits) {
                const std::string name = std::string(c.name) + "/" + p.name + size;
                benchmark::RegisterBenchmark(name.c_str(), BlitRow24, RIPBlitKernels24[c.mode][c.col], p.features,
                                             n);
            }
        }
        benchmark::RegisterBenchmark(("memcpy" + size).c_str(), [n](benchmark::State& state) {
            Rows rows(n, 3);
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

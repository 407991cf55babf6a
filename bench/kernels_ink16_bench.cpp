// Pixels per second of the four-channel ink kernels (Set32, Copy32 and the
// mode-0 blends) on the plain path and on each vector path the processor
// has, beside pixman on x8r8g8b8 images, whose pixels have the same four
// bytes: its fill, SRC, and OVER of an opaque source through an a8 mask,
// which is the same blend with its own rounding. The 16-bit grey and 48-bit
// Set and Copy stand beside memcpy of the same bytes, and so do the 16-bit
// mask blends (an exact division a sample), on every path.
//
// Rows are named Table/Mode/Column/path/pixels, and pixman's
// pixman/OPERATION/pixels.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "kernel_bench_support.h"
#include "kernels/direct_kernels.h"

namespace {

using namespace kernel_bench;

// The fill colour: ink bytes for the four-channel rows, 16-bit values for
// the 16-bit and 48-bit rows.
colour::ColorRecord Colour() {
    colour::ColorRecord c;
    c.SetU32(8, 0x40C08020u);
    c.SetU16(6, 0x1234);
    return c;
}

void Memcpy(benchmark::State& state, int n, int size) {
    Rows rows(n, size);
    for (auto _ : state) {
        std::memcpy(rows.dst.data(), rows.src.data(), static_cast<std::size_t>(n) * size);
        benchmark::DoNotOptimize(rows.dst.data());
        benchmark::ClobberMemory();
    }
    Finish(state, n);
}

// pixman on n pixels of x8r8g8b8: a solid or x8r8g8b8 source, an optional a8 mask.
void Pixman(benchmark::State& state, pixman_op_t op, bool solidSource, bool mask, int n) {
    const PixmanShape shape(n);
    Rows rows(n, 4);
    const int maskStride = (shape.width + 3) / 4 * 4;
    std::vector<std::uint32_t> d(static_cast<std::size_t>(shape.width) * shape.height), s(d.size()),
        m(static_cast<std::size_t>(maskStride) * shape.height / 4 + 1);
    std::memcpy(d.data(), rows.dst.data(), d.size() * 4);
    std::memcpy(s.data(), rows.src.data(), s.size() * 4);
    std::memcpy(m.data(), rows.m1.data(), std::min(m.size() * 4, rows.m1.size()));
    pixman_image_t* dst = pixman_image_create_bits(PIXMAN_x8r8g8b8, shape.width, shape.height, d.data(), shape.width * 4);
    pixman_image_t* src;
    if (solidSource) {
        const pixman_color_t colour = {0x2020, 0x8080, 0xC0C0, 0xFFFF};
        src = pixman_image_create_solid_fill(&colour);
    } else {
        src = pixman_image_create_bits(PIXMAN_x8r8g8b8, shape.width, shape.height, s.data(), shape.width * 4);
    }
    pixman_image_t* msk =
        mask ? pixman_image_create_bits(PIXMAN_a8, shape.width, shape.height, m.data(), maskStride) : nullptr;
    TimeComposite(state, op, src, msk, dst, shape, n);
}

void PixmanFill(benchmark::State& state, int n) {
    const PixmanShape shape(n);
    std::vector<std::uint32_t> d(static_cast<std::size_t>(shape.width) * shape.height);
    for (auto _ : state) {
        pixman_fill(d.data(), shape.width, 32, 0, 0, shape.width, shape.height, 0x40C08020u);
        benchmark::DoNotOptimize(d.data());
        benchmark::ClobberMemory();
    }
    Finish(state, n);
}

void Register() {
    for (int n : kSizes) {
        std::string size = "/";
        size += std::to_string(n);
        RegisterFillRows({{"fill32/Set/opaque", kModeSet, kCoverOpaque},
                          {"fill32/Set/mask", kModeSet, kCoverMask},
                          {"fill32/Set/maskmask", kModeSet, kCoverMaskMask}},
                         RIPFillKernels32, n, 4, Colour());
        RegisterBlitRows({{"blit32/Copy/opaque", kModeSet, kCoverOpaque},
                          {"blit32/Set/mask", kModeSet, kCoverMask},
                          {"blit32/Set/maskmask", kModeSet, kCoverMaskMask},
                          {"blit32/Add/opaque", kModeAdd, kCoverOpaque}},
                         RIPBlitKernels32, n, 4);
        benchmark::RegisterBenchmark(("fill16/Set/opaque" + size).c_str(), FillRow, &RIPFillKernelSet16, 0u, n, 2,
                                     Colour());
        benchmark::RegisterBenchmark(("fill48/Set/opaque" + size).c_str(), FillRow, &RIPFillKernelSet48, 0u, n, 6,
                                     Colour());
        benchmark::RegisterBenchmark(("blit16/Copy/opaque" + size).c_str(), BlitRow, &RIPBlitKernelCopy16, 0u, n, 2);
        benchmark::RegisterBenchmark(("blit48/Copy/opaque" + size).c_str(), BlitRow, &RIPBlitKernelCopy48, 0u, n, 6);
        RegisterBlitRows({{"blit48/Set/mask", kModeSet, kCoverMask},
                          {"blit48/Set/maskmask", kModeSet, kCoverMaskMask},
                          {"blit48/Channel1/mask", kModeChannel1, kCoverMask}},
                         RIPBlitKernels48, n, 6);
        RegisterBlitRows({{"blit16/Set/mask", kModeSet, kCoverMask}}, RIPBlitKernels16, n, 2);
        RegisterFillRows({{"fill48/Set/mask", kModeSet, kCoverMask}}, RIPFillKernels48, n, 6, Colour());
        benchmark::RegisterBenchmark(("memcpy-2-bytes" + size).c_str(), Memcpy, n, 2);
        benchmark::RegisterBenchmark(("memcpy-4-bytes" + size).c_str(), Memcpy, n, 4);
        benchmark::RegisterBenchmark(("memcpy-6-bytes" + size).c_str(), Memcpy, n, 6);
        benchmark::RegisterBenchmark(("pixman/fill" + size).c_str(), PixmanFill, n);
        benchmark::RegisterBenchmark(("pixman/SRC" + size).c_str(), Pixman, PIXMAN_OP_SRC, false, false, n);
        benchmark::RegisterBenchmark(("pixman/OVER-solid-a8mask" + size).c_str(), Pixman, PIXMAN_OP_OVER, true,
                                     true, n);
        benchmark::RegisterBenchmark(("pixman/OVER-a8mask" + size).c_str(), Pixman, PIXMAN_OP_OVER, false, true, n);
        benchmark::RegisterBenchmark(("pixman/ADD" + size).c_str(), Pixman, PIXMAN_OP_ADD, false, false, n);
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

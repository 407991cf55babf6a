// RIPConvertImageToImage on a 4096 × 4096 24-bit RGB image: error diffusion
// to 1 bit and to the standard 236-colour palette, and the plain conversions
// to 8-bit grey and to CMYK; beside ImageMagick (MagickCore, one thread) on
// the same pixels: Floyd-Steinberg quantization to two greys, a remap to the
// same 236 colours with Floyd-Steinberg dithering, and colour-space
// transforms to grey and CMYK. The peers' arithmetic differs (16-bit
// quanta, other weights and error rules), so the pairs compare speed only.
#include <benchmark/benchmark.h>
#include <magick/MagickCore.h>

#include <cstdint>
#include <vector>

#include "blit/stretch_blit.h"
#include "convert/convert_image.h"
#include "raster/image.h"
#include "raster/palette.h"
#include "raster/raster_state.h"

namespace {

using namespace raster;

constexpr int kSide = 4096;

// A smooth image with some texture, so that every palette cell is visited.
std::vector<std::uint8_t> Pixels() {
    std::vector<std::uint8_t> p(3u * kSide * kSide);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            std::uint8_t* q = &p[3u * (static_cast<std::size_t>(y) * kSide + x)];
            q[0] = static_cast<std::uint8_t>(x / 16);
            q[1] = static_cast<std::uint8_t>(y / 16);
            q[2] = static_cast<std::uint8_t>((x + y) / 32 + ((x * 7) ^ (y * 13)) % 17);
        }
    }
    return p;
}

const std::vector<std::uint8_t>& Source() {
    static const std::vector<std::uint8_t> pixels = Pixels();
    return pixels;
}

RIPImage* Rgb() {
    blit::RIPInstallBlitPipeline();
    RIPImage* image = RIPCreateImageEx(kTypeRGB24, kSide, kSide, 0, 0, kOneBlock, nullptr, 0);
    RIPSetImageData(image, 0, 0, kSide, kSide, 3 * kSide, Source().data(), 0);
    return image;
}

void Ours(benchmark::State& state, std::int32_t type, int method) {
    RIPImage* src = Rgb();
    RIPImage* dst = RIPCreateImageEx(type, kSide, kSide, 0, 0, kOneBlock, nullptr, 0);
    RIPRasterState* rs = RIPCreateRS();
    for (auto _ : state) {
        rs->ditherMethod = method;
        if (convert::RIPConvertImageToImage(rs, dst, 0, 0, src, 0, 0, kSide, kSide) == 0)
            state.SkipWithError("failed");
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
    RIPDestroyRS(rs);
    RIPDestroyImage(dst);
    RIPDestroyImage(src);
}

void DitherToBilevel(benchmark::State& s) {
    Ours(s, kTypeBilevel, 2);
}
void DitherToStandardPalette(benchmark::State& s) {
    Ours(s, kTypeStandard8, 2);
}
void RGBToGrey(benchmark::State& s) {
    Ours(s, kTypeGrey8, 1);
}
void RGBToCMYK(benchmark::State& s) {
    Ours(s, kTypeCMYK32, 1);
}

// MagickCore: a fresh copy of the source each iteration, made outside the timing.
Image* MagickSource() {
    static bool started = false;
    if (!started) {
        MagickCoreGenesis(nullptr, MagickFalse);
        SetMagickResourceLimit(ThreadResource, 1);
        started = true;
    }
    ExceptionInfo* e = AcquireExceptionInfo();
    Image* image = ConstituteImage(kSide, kSide, "BGR", CharPixel, Source().data(), e);
    DestroyExceptionInfo(e);
    return image;
}

template <class Work>
void Magick(benchmark::State& state, Work work) {
    for (auto _ : state) {
        state.PauseTiming();
        Image* image = MagickSource();
        state.ResumeTiming();
        work(image);
        state.PauseTiming();
        DestroyImage(image);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

void MagickDitherToTwoGreys(benchmark::State& state) {
    Magick(state, [](Image* image) {
        QuantizeInfo q;
        GetQuantizeInfo(&q);
        q.number_colors = 2;
        q.colorspace = GRAYColorspace;
        q.dither_method = FloydSteinbergDitherMethod;
        QuantizeImage(&q, image);
    });
}

void MagickRemapToStandardPalette(benchmark::State& state) {
    RIPPalette* palette = RIPCreatePalette(kPaletteStandard, 0);
    ExceptionInfo* e = AcquireExceptionInfo();
    MagickSource();
    Image* colours = ConstituteImage(palette->count, 1, "BGR", CharPixel, palette->Entries(), e);
    Magick(state, [colours](Image* image) {
        QuantizeInfo q;
        GetQuantizeInfo(&q);
        q.dither_method = FloydSteinbergDitherMethod;
        RemapImage(&q, image, colours);
    });
    DestroyImage(colours);
    DestroyExceptionInfo(e);
    RIPDestroyPalette(palette);
}

void MagickToGrey(benchmark::State& state) {
    Magick(state, [](Image* image) { TransformImageColorspace(image, GRAYColorspace); });
}

void MagickToCMYK(benchmark::State& state) {
    Magick(state, [](Image* image) { TransformImageColorspace(image, CMYKColorspace); });
}

}  // namespace

BENCHMARK(DitherToBilevel)->Unit(benchmark::kMillisecond);
BENCHMARK(MagickDitherToTwoGreys)->Unit(benchmark::kMillisecond);
BENCHMARK(DitherToStandardPalette)->Unit(benchmark::kMillisecond);
BENCHMARK(MagickRemapToStandardPalette)->Unit(benchmark::kMillisecond);
BENCHMARK(RGBToGrey)->Unit(benchmark::kMillisecond);
BENCHMARK(MagickToGrey)->Unit(benchmark::kMillisecond);
BENCHMARK(RGBToCMYK)->Unit(benchmark::kMillisecond);
BENCHMARK(MagickToCMYK)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

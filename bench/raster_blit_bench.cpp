// Fill, copy and stretch of a 4096 × 4096 24-bit RGB image through the blit
// pipeline, beside pixman on r8g8b8 images (and memset for the fill): solid fill, SRC copy and SRC
// composites under a scaling transform (nearest; bilinear for enlarging and
// a box convolution for shrinking, whose weights differ from the smooth
// stretch's, so those pairs compare speed only). The smooth stretch gated by
// an alpha plane, at even and uneven ratios, stands beside pixman's filters
// on a8r8g8b8 pixels, which weigh each pixel by its alpha instead of leaving
// unmarked ones out: speed only.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstring>
#include <utility>
#include <vector>

#include "blit/stretch_blit.h"
#include "raster/blit_entry.h"
#include "raster/fill_rect.h"
#include "raster/image.h"
#include "raster/raster_state.h"

namespace {

using namespace raster;

constexpr int kSide = 4096;

RIPImage* Rgb(int w, int h) {
    RIPImage* image = RIPCreateImageEx(kTypeRGB24, w, h, 0, 0, kOneBlock, nullptr, 0);
    std::uint8_t* p = RIPBlockPixelAddress(image, 0, 0);
    for (std::uint32_t i = 0; i < image->imageSize; ++i) p[i] = static_cast<std::uint8_t>(i * 31 + (i >> 12));
    return image;
}

pixman_image_t* PixmanOver(RIPImage* image) {
    return pixman_image_create_bits(PIXMAN_r8g8b8, image->width, image->height,
                                    reinterpret_cast<std::uint32_t*>(RIPBlockPixelAddress(image, 0, 0)), image->stride);
}

void Fill(benchmark::State& state) {
    RIPImage* image = Rgb(kSide, kSide);
    colour::ColorRecord c;
    c.SetModel(colour::kModelRGB);
    c.bytes[8] = 10;
    c.bytes[9] = 20;
    c.bytes[10] = 30;
    for (auto _ : state) RIPFillRect(nullptr, image, 0, 0, kSide, kSide, nullptr, 0, nullptr, 0, &c, 0);
    state.SetBytesProcessed(state.iterations() * image->imageSize);
    RIPDestroyImage(image);
}

// The floor of a solid fill: memset of the same image bytes.
void Memset(benchmark::State& state) {
    RIPImage* image = Rgb(kSide, kSide);
    std::uint8_t* p = RIPBlockPixelAddress(image, 0, 0);
    for (auto _ : state) {
        std::memset(p, 30, image->imageSize);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * image->imageSize);
    RIPDestroyImage(image);
}

void PixmanFill(benchmark::State& state) {
    RIPImage* image = Rgb(kSide, kSide);
    pixman_image_t* p = PixmanOver(image);
    const pixman_color_t colour{30 * 257, 20 * 257, 10 * 257, 0xFFFF};
    const pixman_rectangle16_t all{0, 0, kSide, kSide};
    for (auto _ : state) pixman_image_fill_rectangles(PIXMAN_OP_SRC, p, &colour, 1, &all);
    state.SetBytesProcessed(state.iterations() * image->imageSize);
    pixman_image_unref(p);
    RIPDestroyImage(image);
}

void Copy(benchmark::State& state) {
    RIPImage* src = Rgb(kSide, kSide);
    RIPImage* dst = Rgb(kSide, kSide);
    for (auto _ : state) RIPStretchBlitInContext(nullptr, dst, 0, 0, kSide, kSide, nullptr, src, 0, 0, kSide, kSide, nullptr, 0);
    state.SetBytesProcessed(state.iterations() * src->imageSize);
    RIPDestroyImage(src);
    RIPDestroyImage(dst);
}

void PixmanCopy(benchmark::State& state) {
    RIPImage* src = Rgb(kSide, kSide);
    RIPImage* dst = Rgb(kSide, kSide);
    pixman_image_t* ps = PixmanOver(src);
    pixman_image_t* pd = PixmanOver(dst);
    for (auto _ : state) pixman_image_composite32(PIXMAN_OP_SRC, ps, nullptr, pd, 0, 0, 0, 0, 0, 0, kSide, kSide);
    state.SetBytesProcessed(state.iterations() * src->imageSize);
    pixman_image_unref(ps);
    pixman_image_unref(pd);
    RIPDestroyImage(src);
    RIPDestroyImage(dst);
}

// Enlarge a 2048 square to 4096 (range 0 = 1) or shrink 4096 to 2048 (range 0 = 0);
// range 1 = 1 smooths.
struct StretchCase {
    bool enlarge, smooth;
    int from, to;
    RIPImage* src;
    RIPImage* dst;
    explicit StretchCase(const benchmark::State& state)
        : StretchCase(state.range(0) != 0 ? kSide / 2 : kSide, state.range(0) != 0 ? kSide : kSide / 2,
                      state.range(1) != 0) {}
    StretchCase(int fromSide, int toSide, bool smoothed)
        : enlarge(fromSide < toSide), smooth(smoothed), from(fromSide), to(toSide), src(Rgb(from, from)),
          dst(Rgb(to, to)) {}
    ~StretchCase() {
        RIPDestroyImage(src);
        RIPDestroyImage(dst);
    }
};

void Stretch(benchmark::State& state) {
    const StretchCase c(state);
    const bool smooth = c.smooth;
    const int from = c.from, to = c.to;
    RIPImage* src = c.src;
    RIPImage* dst = c.dst;
    RIPRasterState* rs = RIPCreateRS();
    RIPSetStretchMode(rs, smooth ? kStretchSmooth : kStretchNearest);
    for (auto _ : state) RIPStretchBlitInContext(rs, dst, 0, 0, to, to, nullptr, src, 0, 0, from, from, nullptr, 0);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(to) * to);
    RIPDestroyRS(rs);
}

void PixmanStretch(benchmark::State& state) {
    const StretchCase c(state);
    const bool enlarge = c.enlarge, smooth = c.smooth;
    const int to = c.to;
    pixman_image_t* ps = PixmanOver(c.src);
    pixman_image_t* pd = PixmanOver(c.dst);
    pixman_transform_t t;
    const pixman_fixed_t scale = enlarge ? pixman_double_to_fixed(0.5) : pixman_double_to_fixed(2.0);
    pixman_transform_init_scale(&t, scale, scale);
    pixman_image_set_transform(ps, &t);
    int params = 0;
    pixman_fixed_t* filter = nullptr;
    if (!smooth) {
        pixman_image_set_filter(ps, PIXMAN_FILTER_NEAREST, nullptr, 0);
    } else if (enlarge) {
        pixman_image_set_filter(ps, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    } else {
        filter = pixman_filter_create_separable_convolution(&params, scale, scale, PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX,
                                                            PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX, 1, 1);
        pixman_image_set_filter(ps, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, filter, params);
    }
    for (auto _ : state) pixman_image_composite32(PIXMAN_OP_SRC, ps, nullptr, pd, 0, 0, 0, 0, 0, 0, to, to);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(to) * to);
    free(filter);
    pixman_image_unref(ps);
    pixman_image_unref(pd);
}

// The stretch case's source with an alpha plane in which one pixel in eight is unmarked.
void LinkAlpha(RIPImage* src) {
    RIPImage* plane = RIPCreateImageEx(kTypeCoverage, src->width, src->height, 0, 0, kOneBlock, nullptr, 0);
    std::uint8_t* p = RIPBlockPixelAddress(plane, 0, 0);
    for (std::uint32_t i = 0; i < plane->imageSize; ++i) p[i] = (i * 7 + (i >> 11)) % 8 == 0 ? 0 : 255;
    RIPSetLinkedImage(src, plane, nullptr, nullptr);
}

// The gated rows stretch a square of side range 0 to one of side range 1.
void AlphaStretch(benchmark::State& state) {
    const StretchCase c(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), true);
    LinkAlpha(c.src);
    RIPRasterState* rs = RIPCreateRS();
    RIPSetStretchMode(rs, kStretchSmooth);
    for (auto _ : state) {
        RIPStretchBlitInContext(rs, c.dst, 0, 0, c.to, c.to, nullptr, c.src, 0, 0, c.from, c.from, nullptr,
                                raster::blit::kBlitAlphaGatedSmoothing);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(c.to) * c.to);
    RIPDestroyRS(rs);
}

// Bilinear, except for a shrink to half or less, which the box convolution serves.
void PixmanAlphaStretch(benchmark::State& state) {
    const StretchCase c(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), true);
    std::vector<std::uint32_t> from(static_cast<std::size_t>(c.from) * c.from), to(static_cast<std::size_t>(c.to) * c.to);
    for (std::size_t i = 0; i < from.size(); ++i) {
        from[i] = (i * 7 + (i >> 11)) % 8 == 0 ? 0 : 0xFF000000u | static_cast<std::uint32_t>(i * 2654435761u >> 8);
    }
    pixman_image_t* ps = pixman_image_create_bits(PIXMAN_a8r8g8b8, c.from, c.from, from.data(), c.from * 4);
    pixman_image_t* pd = pixman_image_create_bits(PIXMAN_a8r8g8b8, c.to, c.to, to.data(), c.to * 4);
    pixman_transform_t t;
    const pixman_fixed_t scale = pixman_double_to_fixed(static_cast<double>(c.from) / c.to);
    pixman_transform_init_scale(&t, scale, scale);
    pixman_image_set_transform(ps, &t);
    int params = 0;
    pixman_fixed_t* filter = nullptr;
    if (2 * c.to > c.from) {
        pixman_image_set_filter(ps, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    } else {
        filter = pixman_filter_create_separable_convolution(&params, scale, scale, PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX,
                                                            PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX, 1, 1);
        pixman_image_set_filter(ps, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, filter, params);
    }
    for (auto _ : state) pixman_image_composite32(PIXMAN_OP_SRC, ps, nullptr, pd, 0, 0, 0, 0, 0, 0, c.to, c.to);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(c.to) * c.to);
    free(filter);
    pixman_image_unref(ps);
    pixman_image_unref(pd);
}

const int kInstall = (raster::blit::RIPInstallBlitPipeline(), 0);

}  // namespace

BENCHMARK(Fill)->Unit(benchmark::kMillisecond);
BENCHMARK(Memset)->Unit(benchmark::kMillisecond);
BENCHMARK(PixmanFill)->Unit(benchmark::kMillisecond);
BENCHMARK(Copy)->Unit(benchmark::kMillisecond);
BENCHMARK(PixmanCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(Stretch)->ArgsProduct({{1, 0}, {0, 1}})->ArgNames({"enlarge", "smooth"})->Unit(benchmark::kMillisecond);
BENCHMARK(PixmanStretch)->ArgsProduct({{1, 0}, {0, 1}})->ArgNames({"enlarge", "smooth"})->Unit(benchmark::kMillisecond);
// The gated stretch (smooth by nature) at the even ratios, then at uneven
// ones, whose weights share no small denominator.
void GatedSides(benchmark::internal::Benchmark* b) {
    b->ArgNames({"from", "to"});
    for (const auto& [from, to] : {std::pair{kSide / 2, kSide}, {kSide, kSide / 2}, {1500, kSide}, {3000, kSide},
                                   {kSide - 1, kSide}, {kSide + 1, kSide}}) {
        b->Args({from, to});
    }
}
BENCHMARK(AlphaStretch)->Apply(GatedSides)->Unit(benchmark::kMillisecond);
BENCHMARK(PixmanAlphaStretch)->Apply(GatedSides)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

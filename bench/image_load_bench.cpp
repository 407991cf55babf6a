// A 4096 × 4096 RGB picture as PNG and as JPEG (quality 90), loaded through
// the image cache (each iteration a fresh decode: the entry is released to
// nothing) beside decoding the same file directly into one RGB buffer with
// libpng and libjpeg-turbo. The difference is the cost of the filter
// context, the module's row packing, the row sink and the raster storage.
// The direct decoders run twice: into one buffer reused by every iteration
// (argument 0), and into a new buffer each time (1), as a loader that hands
// out a new picture must; the second pays the same page faults as the
// cache's new image.
#include <benchmark/benchmark.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "imageload/image_handler.h"

namespace {

constexpr int kSide = 4096;

// A picture with gradients and some texture, so that neither codec has an
// easy time of it.
std::vector<std::uint8_t> Pixels() {
    std::vector<std::uint8_t> rgb(std::size_t{kSide} * kSide * 3);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            std::uint8_t* p = &rgb[(std::size_t{static_cast<std::size_t>(y)} * kSide + x) * 3];
            p[0] = static_cast<std::uint8_t>(x / 16);
            p[1] = static_cast<std::uint8_t>(y / 16);
            p[2] = static_cast<std::uint8_t>((x * y) >> 9 ^ (x + y));
        }
    }
    return rgb;
}

struct Files {
    std::string png;
    std::string jpeg;
    std::filesystem::path folder;
};

// Removes the pictures when the program ends.
struct FolderRemover {
    std::filesystem::path folder;
    ~FolderRemover() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

const Files& PictureFiles() {
    static const Files files = [] {
        const auto folder = std::filesystem::temp_directory_path() / ("image_load_bench_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        Files f{(folder / "picture.png").string(), (folder / "picture.jpg").string(), folder};
        const std::vector<std::uint8_t> rgb = Pixels();
        std::FILE* out = std::fopen(f.png.c_str(), "wb");
        png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        png_init_io(png, out);
        png_set_IHDR(png, info, kSide, kSide, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < kSide; ++y) png_write_row(png, &rgb[std::size_t{static_cast<std::size_t>(y)} * kSide * 3]);
        png_write_end(png, nullptr);
        png_destroy_write_struct(&png, &info);
        std::fclose(out);

        out = std::fopen(f.jpeg.c_str(), "wb");
        jpeg_compress_struct c{};
        jpeg_error_mgr errors{};
        c.err = jpeg_std_error(&errors);
        jpeg_create_compress(&c);
        jpeg_stdio_dest(&c, out);
        c.image_width = kSide;
        c.image_height = kSide;
        c.input_components = 3;
        c.in_color_space = JCS_RGB;
        jpeg_set_defaults(&c);
        jpeg_set_quality(&c, 90, TRUE);
        jpeg_start_compress(&c, TRUE);
        while (c.next_scanline < c.image_height) {
            JSAMPROW row[1] = {const_cast<std::uint8_t*>(&rgb[std::size_t{c.next_scanline} * kSide * 3])};
            jpeg_write_scanlines(&c, row, 1);
        }
        jpeg_finish_compress(&c);
        jpeg_destroy_compress(&c);
        std::fclose(out);
        return f;
    }();
    static const FolderRemover remover{files.folder};
    return files;
}

void ThroughCache(benchmark::State& state, const std::string& path) {
    imageload::ImageHandler& cache = imageload::ImageHandler::Instance();
    for (auto _ : state) {
        std::int32_t width = 0, height = 0;
        int loaded = 0;
        imageload::Image* image = cache.GetImage(path.c_str(), width, height, loaded, nullptr);
        if (!image || !loaded || width != kSide) {
            state.SkipWithError("the picture did not load");
            break;
        }
        cache.ReleaseImage(image);
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

void CachePng(benchmark::State& state) { ThroughCache(state, PictureFiles().png); }
void CacheJpeg(benchmark::State& state) { ThroughCache(state, PictureFiles().jpeg); }

// The RGB buffer a direct decode writes: the same one again, or a new one.
class Target {
  public:
    explicit Target(bool fresh) : fresh_(fresh) { Renew(); }
    std::uint8_t* Row(std::size_t y) { return data_.get() + y * kSide * 3; }
    void Renew() {
        if (fresh_ || !data_) data_.reset(new std::uint8_t[std::size_t{kSide} * kSide * 3]);
    }

  private:
    bool fresh_;
    std::unique_ptr<std::uint8_t[]> data_;
};

void LibpngDirect(benchmark::State& state) {
    Target rgb(state.range(0) != 0);
    std::vector<png_bytep> rows(kSide);
    for (auto _ : state) {
        rgb.Renew();
        for (int y = 0; y < kSide; ++y) rows[y] = rgb.Row(static_cast<std::size_t>(y));
        std::FILE* in = std::fopen(PictureFiles().png.c_str(), "rb");
        png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        png_init_io(png, in);
        png_read_info(png, info);
        png_read_image(png, rows.data());
        png_read_end(png, nullptr);
        png_destroy_read_struct(&png, &info, nullptr);
        std::fclose(in);
        benchmark::DoNotOptimize(rgb.Row(0));
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

void LibjpegDirect(benchmark::State& state) {
    Target rgb(state.range(0) != 0);
    for (auto _ : state) {
        rgb.Renew();
        std::FILE* in = std::fopen(PictureFiles().jpeg.c_str(), "rb");
        jpeg_decompress_struct d{};
        jpeg_error_mgr errors{};
        d.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&d);
        jpeg_stdio_src(&d, in);
        jpeg_read_header(&d, TRUE);
        d.out_color_space = JCS_RGB;
        jpeg_start_decompress(&d);
        while (d.output_scanline < d.output_height) {
            JSAMPROW row[1] = {rgb.Row(d.output_scanline)};
            jpeg_read_scanlines(&d, row, 1);
        }
        jpeg_finish_decompress(&d);
        jpeg_destroy_decompress(&d);
        std::fclose(in);
        benchmark::DoNotOptimize(rgb.Row(0));
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

BENCHMARK(CachePng)->Unit(benchmark::kMillisecond);
BENCHMARK(LibpngDirect)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(CacheJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(LibjpegDirect)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

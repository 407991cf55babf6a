// Writing the test pictures through libpng, libjpeg and giflib.
#include "picture_files.h"

#include <gif_lib.h>
#include <png.h>

#include <cstdio>
#include <stdexcept>

#include <jpeglib.h>

namespace imageload::testing {

void WritePng(const std::string& path, int width, int height, int colourType, int bitDepth,
              const std::vector<std::vector<std::uint8_t>>& rows, const std::vector<Colour>& palette) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) throw std::runtime_error("cannot write " + path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    // Indices past the palette are written as given: the reader's handling
    // of them is under test.
    png_set_check_for_invalid_index(png, 0);
    png_set_IHDR(png, info, width, height, bitDepth, colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> colours;
    for (const Colour& c : palette) colours.push_back({c.r, c.g, c.b});
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(png, info, colours.data(), static_cast<int>(colours.size()));
    png_write_info(png, info);
    for (const auto& row : rows) png_write_row(png, row.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

void WriteFlatJpeg(const std::string& path, int width, int height, const std::vector<std::uint8_t>& sample) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) throw std::runtime_error("cannot write " + path);
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = width;
    info.image_height = height;
    info.input_components = static_cast<int>(sample.size());
    info.in_color_space = sample.size() == 1 ? JCS_GRAYSCALE : sample.size() == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row;
    for (int x = 0; x < width; ++x) row.insert(row.end(), sample.begin(), sample.end());
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

void WriteGif(const std::string& path, int width, int height, const std::vector<Colour>& palette,
              const std::vector<std::vector<std::uint8_t>>& frames) {
    int size = 2;
    while (size < static_cast<int>(palette.size())) size *= 2;
    std::vector<GifColorType> colours(size, GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < palette.size(); ++i) colours[i] = {palette[i].r, palette[i].g, palette[i].b};
    ColorMapObject* map = GifMakeMapObject(size, colours.data());
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    if (!gif) throw std::runtime_error("cannot write " + path);
    EGifPutScreenDesc(gif, width, height, map->BitsPerPixel, 0, map);
    for (const auto& frame : frames) {
        EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr);
        std::vector<GifPixelType> line(width);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) line[x] = frame[static_cast<std::size_t>(y) * width + x];
            EGifPutLine(gif, line.data(), width);
        }
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
}

}  // namespace imageload::testing

// Picture files for the image loading tests, written with the image
// libraries' own encoders.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace imageload::testing {

struct Colour {
    std::uint8_t r, g, b;
};

// PNG of any colour type and depth; rows packed as libpng takes them (top
// row first), palette for colour type 3.
void WritePng(const std::string& path, int width, int height, int colourType, int bitDepth,
              const std::vector<std::vector<std::uint8_t>>& rows, const std::vector<Colour>& palette = {});
// JPEG of 1 (grey), 3 (RGB) or 4 (CMYK, Adobe-inverted as libjpeg writes it)
// components of one value each over the whole picture.
void WriteFlatJpeg(const std::string& path, int width, int height, const std::vector<std::uint8_t>& sample);
// GIF of several images over one screen and global palette.
void WriteGif(const std::string& path, int width, int height, const std::vector<Colour>& palette,
              const std::vector<std::vector<std::uint8_t>>& frames);

}  // namespace imageload::testing

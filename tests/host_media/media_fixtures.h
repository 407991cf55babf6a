// Images and folders that the image tests make for themselves.
#ifndef TESTS_HOST_MEDIA_MEDIA_FIXTURES_H
#define TESTS_HOST_MEDIA_MEDIA_FIXTURES_H

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "host/media/image.h"
#include "host/media/image_codec.h"

namespace media_test {

using host::media::Image;

// A fresh folder per test, removed afterwards.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "host_media_XXXXXX").string();
        path_ = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string operator/(const std::string& name) const {
        return (std::filesystem::path(path_) / name).string();
    }
    const std::string& path() const { return path_; }
    // Names of the files in the folder.
    std::set<std::string> Files() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

  private:
    std::string path_;
};

inline Image Blank(uint32_t w, uint32_t h) {
    Image image;
    EXPECT_TRUE(Image::Allocate(w, h, image));
    return image;
}

inline void Set(Image& image, uint32_t x, uint32_t y, uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
    uint8_t* p = image.pixel(x, y);
    p[0] = r;
    p[1] = g;
    p[2] = b;
    p[3] = a;
}

// Smooth colour ramps: thousands of colours, friendly to JPEG.
inline Image Gradient(uint32_t w, uint32_t h) {
    Image image = Blank(w, h);
    for (uint32_t y = 0; y < h; ++y) {
        for (uint32_t x = 0; x < w; ++x) {
            Set(image, x, y, uint8_t(x * 255 / (w - 1)), uint8_t(y * 255 / (h - 1)),
                uint8_t(255 - (x + y) * 255 / (w + h - 2)));
        }
    }
    return image;
}

// Four colours in quarters.
inline Image Quarters(uint32_t w, uint32_t h) {
    Image image = Blank(w, h);
    for (uint32_t y = 0; y < h; ++y) {
        for (uint32_t x = 0; x < w; ++x) {
            const bool right = x >= w / 2, lower = y >= h / 2;
            if (!right && !lower) Set(image, x, y, 200, 30, 40);
            if (right && !lower) Set(image, x, y, 20, 160, 60);
            if (!right && lower) Set(image, x, y, 30, 60, 220);
            if (right && lower) Set(image, x, y, 250, 220, 10);
        }
    }
    return image;
}

// Grey levels that are multiples of 17, so 4-bit grey holds them exactly.
inline Image GreySteps(uint32_t w, uint32_t h) {
    Image image = Blank(w, h);
    for (uint32_t y = 0; y < h; ++y) {
        for (uint32_t x = 0; x < w; ++x) {
            const uint8_t v = uint8_t(((x + 2 * y) % 16) * 17);
            Set(image, x, y, v, v, v);
        }
    }
    return image;
}

inline Image Checker(uint32_t w, uint32_t h) {
    Image image = Blank(w, h);
    for (uint32_t y = 0; y < h; ++y) {
        for (uint32_t x = 0; x < w; ++x) {
            const uint8_t v = ((x / 3 + y / 3) % 2) ? 255 : 0;
            Set(image, x, y, v, v, v);
        }
    }
    return image;
}

// Opaque colour with a transparent hole and a half-transparent band.
inline Image WithAlpha(uint32_t w, uint32_t h) {
    Image image = Quarters(w, h);
    for (uint32_t y = 0; y < h; ++y) {
        for (uint32_t x = 0; x < w; ++x) {
            if (x < w / 4) image.pixel(x, y)[3] = 128;
            if (x >= w / 3 && x < w / 2 && y >= h / 3 && y < h / 2) Set(image, x, y, 0, 0, 0, 0);
        }
    }
    return image;
}

inline std::set<uint32_t> Colours(const Image& image) {
    std::set<uint32_t> colours;
    for (size_t i = 0; i < image.rgba.size(); i += 4) {
        colours.insert(uint32_t(image.rgba[i]) << 16 | uint32_t(image.rgba[i + 1]) << 8 | image.rgba[i + 2]);
    }
    return colours;
}

// Mean absolute difference per channel of the colours over white.
inline double MeanError(const Image& a, const Image& b) {
    if (a.width != b.width || a.height != b.height) return 1e9;
    double sum = 0;
    for (size_t i = 0; i < a.rgba.size(); i += 4) {
        const auto ca = host::media::OverWhite(&a.rgba[i]);
        const auto cb = host::media::OverWhite(&b.rgba[i]);
        sum += std::abs(ca.r - cb.r) + std::abs(ca.g - cb.g) + std::abs(ca.b - cb.b);
    }
    return sum / (3.0 * a.width * a.height);
}

inline std::string WriteFixture(const TempFolder& folder, const std::string& name, const Image& image,
                                host::media::ImageFormat format, uint32_t bits, bool paletted = false) {
    const std::string path = folder / name;
    host::media::WriteOptions options;
    options.format = format;
    options.bitsPerPixel = bits;
    options.paletted = paletted;
    const host::media::Status status = host::media::WriteImageFile(path, image, options);
    EXPECT_TRUE(status) << status.message();
    return path;
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

}  // namespace media_test

#endif  // TESTS_HOST_MEDIA_MEDIA_FIXTURES_H

// A folder of pictures for each test, the decoder modules where the build
// put them, and pixel checks on the loaded raster images.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "colour/color_record.h"
#include "imageload/filter_image_reader.h"
#include "imageload/image_handler.h"
#include "picture_files.h"
#include "raster/pixel_access.h"

namespace imageload::testing {

class PictureFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("imageload_media_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override {
        markup::Singleton<ImageHandler>::Release();
        std::filesystem::remove_all(folder_);
    }
    std::string Path(const std::string& name) const { return (folder_ / name).string(); }
    std::filesystem::path folder_;
};

// The colour of pixel (x, y), y counted from the picture's top.
inline colour::ColorRecord ColourAt(const raster::RIPImage* image, int x, int topRow) {
    colour::ColorRecord colour;
    EXPECT_EQ(raster::RIPGetPixelColor(&colour, image, x, image->height - 1 - topRow), 1);
    return colour;
}

// The byte of pixel (x, y) of an 8-bit image (a palette index), y counted
// from the picture's top; read by value, so one-block and tiled images alike.
inline int IndexAt(const raster::RIPImage* image, int x, int topRow) {
    std::uint8_t value = 0;
    EXPECT_EQ(raster::RIPReadPixelByte(image, x, image->height - 1 - topRow, &value), 1);
    return value;
}

inline colour::ColorRecord Rgb(int r, int g, int b) {
    return colour::ColorRecord::RGB(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                                    static_cast<std::uint8_t>(b));
}

}  // namespace imageload::testing

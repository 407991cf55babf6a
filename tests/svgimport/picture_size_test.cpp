// Picture sizes from file headers: each format's size field, the segments
// a JPEG may put before its frame header, and headers cut short or lying.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "svgimport/picture_size.h"

namespace {

using SVG::PictureSizeOf;

std::string Png(uint32_t w, uint32_t h) {
    std::string b("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    for (uint32_t v : {w, h}) {
        for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<char>((v >> shift) & 0xFF));
    }
    return b + std::string("\x08\x02\0\0\0", 5);
}

std::string Segment(uint8_t marker, std::string body) {
    const size_t length = body.size() + 2;
    return std::string{'\xFF', static_cast<char>(marker), static_cast<char>(length >> 8),
                       static_cast<char>(length & 0xFF)} +
           body;
}

std::string Frame(uint8_t marker, uint16_t w, uint16_t h) {
    return Segment(marker, std::string{'\x08', static_cast<char>(h >> 8), static_cast<char>(h & 0xFF),
                                       static_cast<char>(w >> 8), static_cast<char>(w & 0xFF), '\x03'});
}

const std::string kSoi("\xFF\xD8", 2);

struct Case {
    const char* name;
    std::string bytes;
    std::optional<std::pair<uint32_t, uint32_t>> size;
};

TEST(PictureSize, ReadsEachFormatsHeader) {
    const std::string app(300, 'x');
    const Case cases[] = {
        {"png", Png(640, 480), {{640, 480}}},
        {"png wide", Png(70000, 3), {{70000, 3}}},
        {"png cut short", Png(640, 480).substr(0, 20), std::nullopt},
        {"png of no width", Png(0, 480), std::nullopt},
        {"png beyond its limit", Png(0x80000000u, 4), std::nullopt},
        {"gif", std::string("GIF89a\x40\x01\xF0\x00", 10), {{320, 240}}},
        {"gif87a", std::string("GIF87a\x02\x00\x03\x00", 10), {{2, 3}}},
        {"gif cut short", std::string("GIF89a\x40\x01", 8), std::nullopt},
        {"jpeg baseline", kSoi + Frame(0xC0, 800, 600), {{800, 600}}},
        {"jpeg progressive after metadata and tables",
         kSoi + Segment(0xE0, "JFIF") + Segment(0xE1, app) + Segment(0xC4, "tables") + Frame(0xC2, 33, 44),
         {{33, 44}}},
        {"jpeg with fill bytes", kSoi + "\xFF" + Frame(0xC0, 5, 6), {{5, 6}}},
        {"jpeg data before a frame", kSoi + Segment(0xDA, "scan") + Frame(0xC0, 5, 6), std::nullopt},
        {"jpeg segment past the end", kSoi + std::string("\xFF\xE1\xFF\xFF", 4) + "short", std::nullopt},
        {"jpeg frame cut short", kSoi + Frame(0xC0, 800, 600).substr(0, 7), std::nullopt},
        {"jpeg garbage after soi", kSoi + "garbage", std::nullopt},
        {"text", "<svg/>", std::nullopt},
        {"empty", "", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto size = PictureSizeOf(c.bytes);
        ASSERT_EQ(size.has_value(), c.size.has_value()) << c.name;
        if (size) {
            EXPECT_EQ(size->width, c.size->first) << c.name;
            EXPECT_EQ(size->height, c.size->second) << c.name;
        }
    }
}

}  // namespace

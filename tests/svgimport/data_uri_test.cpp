// Pictures in data: URIs: base64 (wrapped or not, with or without padding)
// and percent-encoded bytes, their format by signature, and what is refused.
#include "data_uri.h"

#include <gtest/gtest.h>

#include <string>

#include "svgfilter/import_abi.h"

namespace {

using SVG::DataUriResult;

const std::string kPng = "\x89PNG\r\n\x1A\n";

struct UriCase {
    const char* name;
    std::string uri;
    DataUriResult result;
    std::string bytes;
    uint32_t format;
};

class DataUris : public testing::TestWithParam<UriCase> {};

TEST_P(DataUris, DecodeOrSayWhyNot) {
    const UriCase& c = GetParam();
    std::string bytes = "stale";
    uint32_t format = 99;
    EXPECT_EQ(SVG::DecodeDataUri(c.uri, bytes, format, 64), c.result);
    EXPECT_EQ(bytes, c.bytes);
    EXPECT_EQ(format, c.format);
}

INSTANTIATE_TEST_SUITE_P(
    Uris, DataUris,
    testing::Values(
        // "\x89PNG\r\n\x1A\n" + "ab" in base64, padded.
        UriCase{"base64", "data:image/png;base64,iVBORw0KGgphYg==", DataUriResult::kDecoded, kPng + "ab",
                svgf::kFormatPng},
        UriCase{"base64_wrapped_unpadded", " DATA:image/png;BASE64,iVBO\n Rw0K\r\n\tGgphYg", DataUriResult::kDecoded,
                kPng + "ab", svgf::kFormatPng},
        UriCase{"base64_escaped", "data:;base64,iVBORw0KGgphYg%3D%3D", DataUriResult::kDecoded, kPng + "ab",
                svgf::kFormatPng},
        UriCase{"percent", "data:image/gif,GIF89a%01%00", DataUriResult::kDecoded, std::string("GIF89a\x01\0", 8),
                svgf::kFormatGif},
        // The bytes decide, not the declared type.
        UriCase{"type_is_not_trusted", "data:image/png,%FF%D8%FF%E0", DataUriResult::kDecoded, "\xFF\xD8\xFF\xE0",
                svgf::kFormatJpeg},
        UriCase{"no_picture", "data:text/plain,hello", DataUriResult::kNoPicture, "", 0},
        UriCase{"no_comma", "data:image/png;base64", DataUriResult::kMalformed, "", 0},
        UriCase{"bad_base64", "data:image/png;base64,iVBO*Rw0K", DataUriResult::kMalformed, "", 0},
        UriCase{"digit_after_padding", "data:image/png;base64,iV==Bw", DataUriResult::kMalformed, "", 0},
        UriCase{"lone_digit", "data:image/png;base64,iVBOR", DataUriResult::kMalformed, "", 0},
        UriCase{"bad_escape", "data:image/gif,GIF89a%G1", DataUriResult::kMalformed, "", 0},
        UriCase{"cut_escape", "data:image/gif,GIF89a%4", DataUriResult::kMalformed, "", 0},
        // The limit in these cases is 64 bytes.
        UriCase{"too_large_base64", "data:image/png;base64," + std::string(100, 'A'), DataUriResult::kTooLarge, "", 0},
        UriCase{"too_large_percent", "data:image/gif,GIF89a" + std::string(70, 'x'), DataUriResult::kTooLarge, "",
                0},
        UriCase{"not_data", "image.png", DataUriResult::kMalformed, "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DataUris, AreKnownByTheirScheme) {
    EXPECT_TRUE(SVG::IsDataUri("data:,x"));
    EXPECT_TRUE(SVG::IsDataUri("  Data:image/png,x"));
    EXPECT_FALSE(SVG::IsDataUri("data.png"));
    EXPECT_FALSE(SVG::IsDataUri("file:data:x"));
}

}  // namespace

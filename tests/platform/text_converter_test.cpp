// Text converters: ISO-8859-1, converted without iconv, gives iconv's bytes.
#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "platform/text_converter.h"

namespace platform {
namespace {

std::string IconvLatin1(const std::string& bytes) {
    const iconv_t handle = iconv_open("UTF-8", "ISO-8859-1");
    std::string out(2 * bytes.size(), '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* to = out.data();
    std::size_t toLeft = out.size();
    iconv(handle, &in, &inLeft, &to, &toLeft);
    iconv_close(handle);
    out.resize(out.size() - toLeft);
    return out;
}

TEST(Latin1Text, EveryByteInAnyPiecesGivesIconvsText) {
    std::string all;
    for (int round = 0; round < 3; ++round) {
        for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    }
    const std::string expected = IconvLatin1(all);
    for (const char* name : {"ISO-8859-1", "latin1", "ISO_8859-1:1987", "CP819"}) {
        for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, std::size_t{256}, all.size()}) {
            const std::unique_ptr<TextConverter> converter = TextConverter::ToUtf8(name);
            ASSERT_TRUE(converter) << name;
            std::string out = "kept ";
            for (std::size_t at = 0; at < all.size(); at += piece) {
                converter->Convert(std::string_view(all).substr(at, piece), at + piece >= all.size(), out);
            }
            EXPECT_EQ(out, "kept " + expected) << name << " in pieces of " << piece;
        }
    }
}

}  // namespace
}  // namespace platform

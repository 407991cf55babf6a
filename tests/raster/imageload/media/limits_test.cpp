// What the decoder modules refuse and why: pictures are limited by their
// pixel count alone, a refusal names the file and its reason in one message,
// a file that declares more than it holds fails before memory for the
// declared size is taken, and palette indices past a PNG's palette read as
// entry 0.
#include <png.h>
#include <zlib.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "media_fixture.h"
#include "platform/messages.h"

// The largest single allocation since the last reset, in this program and
// the modules it loads. Every plain form of new and delete is replaced, so
// that each pair meets malloc and free.
namespace {
std::atomic<std::size_t> g_largest{0};

void* Take(std::size_t size) noexcept {
    std::size_t seen = g_largest.load(std::memory_order_relaxed);
    while (size > seen && !g_largest.compare_exchange_weak(seen, size, std::memory_order_relaxed)) {
    }
    return std::malloc(size == 0 ? 1 : size);
}
void* TakeOrThrow(std::size_t size) {
    if (void* p = Take(size)) return p;
    throw std::bad_alloc();
}
}  // namespace

// The compiler's pairing check does not know that these replace each other.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) { return TakeOrThrow(size); }
void* operator new[](std::size_t size) { return TakeOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Take(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Take(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace imageload::testing {
namespace {

class LimitsTest : public PictureFolderTest {
  protected:
    void SetUp() override {
        PictureFolderTest::SetUp();
        previous_ = platform::SetMessageSink(&messages_);
    }
    void TearDown() override {
        platform::SetMessageSink(previous_);
        PictureFolderTest::TearDown();
    }
    void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    platform::RecordingMessageSink messages_;
    platform::MessageSink* previous_ = nullptr;
};

std::vector<std::vector<std::uint8_t>> Rows(int width, int height, std::uint8_t value) {
    return std::vector<std::vector<std::uint8_t>>(static_cast<std::size_t>(height),
                                                  std::vector<std::uint8_t>(static_cast<std::size_t>(width), value));
}

// Long thin pictures: any side is taken while the pixels stay within 2^26.
TEST_F(LimitsTest, AnySideWithinThePixelLimitLoads) {
    struct Case {
        const char* name;
        int width, height;
    };
    for (const Case c : {Case{"wide.png", 40000, 2}, Case{"tall.png", 2, 40000}, Case{"wide.jpg", 40000, 2}}) {
        const std::string path = Path(c.name);
        if (std::string(c.name).ends_with(".png")) {
            WritePng(path, c.width, c.height, PNG_COLOR_TYPE_GRAY, 8, Rows(c.width, c.height, 77));
        } else {
            WriteFlatJpeg(path, c.width, c.height, {77});
        }
        FilterImageReader reader;
        ASSERT_EQ(reader.Open(path, 0), 1) << c.name;
        ASSERT_EQ(reader.ReadFrame(1), 1) << c.name;
        EXPECT_EQ(reader.Target()->width, c.width) << c.name;
        EXPECT_EQ(reader.Target()->height, c.height) << c.name;
        EXPECT_NEAR(IndexAt(reader.Target(), c.width - 1, c.height - 1), 77, 1) << c.name;
    }
    EXPECT_TRUE(messages_.entries.empty());
}

// A PNG whose header declares w x h over the pixels of a small one.
std::vector<std::uint8_t> DeclaringPng(const std::string& small, std::uint32_t w, std::uint32_t h) {
    std::FILE* f = std::fopen(small.c_str(), "rb");
    std::vector<std::uint8_t> bytes(1 << 16);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
    std::fclose(f);
    const auto put = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
    };
    put(16, w);  // IHDR data starts at 16
    put(20, h);
    put(29, static_cast<std::uint32_t>(crc32(0, &bytes[12], 17)));
    return bytes;
}

TEST_F(LimitsTest, RefusedPictureSaysWhyInOneLine) {
    const std::string small = Path("small.png");
    WritePng(small, 8, 8, PNG_COLOR_TYPE_GRAY, 8, Rows(8, 8, 1));
    struct Case {
        const char* name;
        std::uint32_t w, h;
        const char* reason;
    };
    for (const Case c : {Case{"over.png", 8193, 8192, "more than 67108864 pixels"},
                         Case{"side.png", 67108865, 1, "more than 67108864 pixels"},
                         Case{"cut.png", 40000, 2, "PNG data is not readable"}}) {
        messages_.entries.clear();
        const std::string path = Path(c.name);
        WriteBytes(path, DeclaringPng(small, c.w, c.h));
        FilterImageReader reader;
        const bool opened = reader.Open(path, 0) == 1;
        EXPECT_FALSE(opened && reader.ReadFrame(1) == 1) << c.name;
        ASSERT_EQ(messages_.entries.size(), 1u) << c.name;
        const std::string& text = messages_.entries[0].text;
        EXPECT_NE(text.find(path), std::string::npos) << text;
        EXPECT_NE(text.find(c.reason), std::string::npos) << text;
        EXPECT_EQ(text.find('\n'), std::string::npos) << text;
    }
}

// 37 bytes that declare an 8192 x 8192 screen and frame and hold a few
// codes: the decoder fails on the missing data, without taking the 128 MB
// that the screen and its coverage would need.
TEST_F(LimitsTest, GifDeclaringMoreThanItHoldsFailsBeforeTakingMemory) {
    const std::vector<std::uint8_t> bytes = {
        'G', 'I', 'F', '8', '9', 'a', 0x00, 0x20, 0x00, 0x20, 0x80, 0, 0,  // screen 8192 x 8192, 2 colours
        0, 0, 0, 255, 255, 255,                                            // palette
        ',', 0, 0, 0, 0, 0x00, 0x20, 0x00, 0x20, 0,                        // frame 8192 x 8192
        2, 4, 0x8C, 0x2D, 0x99, 0x00, 0,                                   // four bytes of codes
        ';'};
    ASSERT_EQ(bytes.size(), 37u);
    const std::string path = Path("declares.gif");
    WriteBytes(path, bytes);
    FilterImageReader reader;
    g_largest = 0;
    EXPECT_FALSE(reader.Open(path, 0) == 1 && reader.ReadFrame(1) == 1);
    EXPECT_LT(g_largest.load(), std::size_t{1} << 20);
    ASSERT_EQ(messages_.entries.size(), 1u);
    EXPECT_NE(messages_.entries[0].text.find("GIF data is not readable"), std::string::npos)
        << messages_.entries[0].text;

    // The same measure sees the screen of a frame whose data is there.
    const std::string whole = Path("whole.gif");
    WriteGif(whole, 3000, 3000, {{0, 0, 0}, {255, 255, 255}},
             {std::vector<std::uint8_t>(std::size_t{3000} * 3000, 1)});
    FilterImageReader second;
    g_largest = 0;
    EXPECT_TRUE(second.Open(whole, 0) == 1 && second.ReadFrame(1) == 1);
    EXPECT_GE(g_largest.load(), std::size_t{3000} * 3000);
}

// Indices past the palette read as entry 0 at every depth the module
// delivers (1 bit for two entries, 4 for up to 16, else 8).
TEST_F(LimitsTest, PngIndicesPastThePaletteReadAsEntryZero) {
    struct Case {
        const char* name;
        int entries;
        std::vector<std::uint8_t> row;  // 8-bit indices as the file holds them
        std::vector<int> read;          // the entries read back
    };
    const Case cases[] = {
        {"two.png", 2, {0, 1, 3, 200, 1}, {0, 1, 0, 0, 1}},
        {"five.png", 5, {4, 21, 5, 3, 255}, {4, 0, 0, 3, 0}},
        {"forty.png", 40, {39, 40, 250, 7, 41}, {39, 0, 0, 7, 0}},
    };
    for (const Case& c : cases) {
        std::vector<Colour> palette;
        for (int i = 0; i < c.entries; ++i) palette.push_back({std::uint8_t(i * 5), std::uint8_t(i), std::uint8_t(200 - i)});
        const std::string path = Path(c.name);
        WritePng(path, static_cast<int>(c.row.size()), 1, PNG_COLOR_TYPE_PALETTE, 8, {c.row}, palette);
        FilterImageReader reader;
        ASSERT_EQ(reader.Open(path, 0), 1) << c.name;
        ASSERT_EQ(reader.ReadFrame(1), 1) << c.name;
        const raster::RIPImage* image = reader.Target();
        for (std::size_t x = 0; x < c.row.size(); ++x) {
            const Colour& want = palette[static_cast<std::size_t>(c.read[x])];
            EXPECT_EQ(ColourAt(image, static_cast<int>(x), 0), Rgb(want.r, want.g, want.b)) << c.name << " x " << x;
        }
    }
}

}  // namespace
}  // namespace imageload::testing
